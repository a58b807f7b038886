// The hijacked-process test: the suspended first thread, the changed image, and what is
// appended to the row's details.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/engine/process/HijackTest.h"
#include "platform/sim/system/SimSystem.h"

namespace {

using platform::sim::SimProcess;
using platform::sim::SimSystem;
using platform::sim::SimThread;
using zorvik::HijackTest;
using zorvik::ImageHeadersDiffer;
using zorvik::ProcessSnapshot;
using zorvik::TakeProcessSnapshot;

constexpr std::uint32_t kPid = 1200;
constexpr std::uint32_t kParentPid = 800;
const std::string kPath = "C:\\Apps\\bot.exe";
const std::string kParentPath = "C:\\WINDOWS\\explorer.exe";
const std::string kDetailsBefore = "Possible Bot Process, 0 Start up\\s detected";
const std::string kVerdict = ", Probable High jacked Process";

constexpr SimThread kSuspendedAtStart{5, 5, 0};
constexpr SimThread kRunning{2, 0, 100};

struct HeaderFields {
    std::uint16_t numberOfSections;
    std::uint32_t addressOfEntryPoint;
    std::uint32_t sizeOfImage;
};

void Put(std::string& bytes, std::size_t offset, std::uint32_t value, std::size_t width) {
    if (bytes.size() < offset + width) bytes.resize(offset + width, '\0');
    for (std::size_t i = 0; i < width; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

// A PE32 header area: DOS header, NT headers at ntOffset, padded to a page.
std::string Image(HeaderFields fields, std::int32_t ntOffset = 0x80, bool mz = true) {
    std::string bytes(0x400, '\0');
    if (mz) { bytes[0] = 'M'; bytes[1] = 'Z'; }
    Put(bytes, 60, static_cast<std::uint32_t>(ntOffset), 4);
    if (ntOffset < 0) return bytes;
    const std::size_t nt = static_cast<std::size_t>(ntOffset);
    bytes.resize(std::max(bytes.size(), nt + 0x200), '\0');
    Put(bytes, nt, 0x00004550, 4);      // "PE\0\0"
    Put(bytes, nt + 4, 0x014C, 2);      // i386
    Put(bytes, nt + 6, fields.numberOfSections, 2);
    Put(bytes, nt + 20, 0xE0, 2);       // SizeOfOptionalHeader
    Put(bytes, nt + 24, 0x010B, 2);     // PE32 magic
    Put(bytes, nt + 40, fields.addressOfEntryPoint, 4);
    Put(bytes, nt + 80, fields.sizeOfImage, 4);
    return bytes;
}

constexpr HeaderFields kFileFields{3, 0x1000, 0x5000};
constexpr HeaderFields kOtherFields{5, 0x2345, 0x9000};

class HijackTestOnSim : public ::testing::Test {
protected:
    SimSystem sys;

    // The process under test: its program file holds fileBytes; memoryBytes, when given, is
    // what is mapped at its image base instead of a copy of the file.
    void AddTested(std::vector<SimThread> threads, std::uint32_t parentPid,
                   std::optional<std::string> memoryBytes = std::nullopt,
                   const std::string& fileBytes = Image(kFileFields)) {
        sys.fs().AddFile(kPath, fileBytes);
        SimProcess p;
        p.pid = kPid;
        p.parentPid = parentPid;
        p.imagePath = kPath;
        p.threads = std::move(threads);
        p.imageMemory = std::move(memoryBytes);
        sys.procs().AddProcess(p);
    }

    SimProcess& AddParent(SimProcess p = {}) {
        p.pid = kParentPid;
        p.parentPid = 4;
        p.imagePath = kParentPath;
        parent_ = p;
        return parent_;
    }
    void StartParent() { sys.procs().AddProcess(parent_); }

    // Runs the test on a fresh snapshot; details starts as the scan leaves it.
    bool Run(std::string& details) {
        snapshot_ = TakeProcessSnapshot(sys);
        details = kDetailsBefore;
        return HijackTest(sys, snapshot_ ? &*snapshot_ : nullptr, kPid, details, kPath);
    }

    std::optional<ProcessSnapshot> snapshot_;
    SimProcess parent_;
};

// Sign 1, with the image equal to its file so that only the threads decide. The parent id is 0,
// for which no process is opened, so every Open seen comes from the image comparison.
TEST_F(HijackTestOnSim, SuspendedFirstThreadTable) {
    struct Case {
        const char* name;
        std::vector<SimThread> threads;
        bool flagged;
    };
    const Case cases[] = {
        {"suspended at start, two threads", {kSuspendedAtStart, kRunning}, true},
        {"suspended at start, three threads", {kSuspendedAtStart, kRunning, kRunning}, true},
        {"suspended at start, only thread", {kSuspendedAtStart}, false},
        {"has run in user mode", {SimThread{5, 5, 1}, kRunning}, false},
        {"waiting for another reason", {SimThread{5, 6, 0}, kRunning}, false},
        {"suspend reason but running", {SimThread{2, 5, 0}, kRunning}, false},
        {"only a later thread suspended", {kRunning, kSuspendedAtStart}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sys.procs().RemoveProcess(kPid);
        const std::size_t opensBefore = sys.procs().OpenAccesses().size();
        AddTested(c.threads, 0);
        std::string details;
        EXPECT_EQ(Run(details), c.flagged);
        EXPECT_EQ(details, c.flagged ? kDetailsBefore + kVerdict : kDetailsBefore);
        // Sign 1 spares the image comparison; without it the comparison runs exactly once.
        EXPECT_EQ(sys.procs().OpenAccesses().size() - opensBefore, c.flagged ? 0u : 1u);
    }
}

TEST_F(HijackTestOnSim, ChangedImageNeedsAllThreeFieldsToDiffer) {
    struct Case {
        const char* name;
        HeaderFields memory;
        bool differs;
    };
    const Case cases[] = {
        {"all three differ", kOtherFields, true},
        {"same NumberOfSections", {3, 0x2345, 0x9000}, false},
        {"same AddressOfEntryPoint", {5, 0x1000, 0x9000}, false},
        {"same SizeOfImage", {5, 0x2345, 0x5000}, false},
        {"only SizeOfImage differs", {3, 0x1000, 0x9000}, false},
        {"identical", kFileFields, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sys.procs().RemoveProcess(kPid);
        AddTested({kRunning}, 0, Image(c.memory));
        EXPECT_EQ(ImageHeadersDiffer(sys, kPid, kPath), c.differs);
        std::string details;
        EXPECT_EQ(Run(details), c.differs);
        EXPECT_EQ(details, c.differs ? kDetailsBefore + kVerdict : kDetailsBefore);
    }
}

// Images and files that cannot be compared: each would differ in all three fields if its
// bytes were taken at face value, so a false answer shows that they were not.
TEST_F(HijackTestOnSim, UncomparableImagesAreNotFlagged) {
    const std::int32_t kFar = 5 * 1024 * 1024;
    const std::string good = Image(kFileFields);
    struct Case {
        const char* name;
        std::optional<std::string> memory;
        std::optional<std::string> file;  // nullopt: no program file at the path
    };
    const Case cases[] = {
        {"memory does not begin with MZ", Image(kOtherFields, 0x80, false), good},
        {"memory names its headers at a negative offset", Image(kOtherFields, -8), good},
        {"memory names its headers beyond 4 MiB", Image(kOtherFields, kFar), good},
        {"memory ends inside the headers", Image(kOtherFields).substr(0, 0x80 + 100), good},
        {"memory ends inside the DOS header", Image(kOtherFields).substr(0, 40), good},
        {"no program file", Image(kOtherFields), std::nullopt},
        {"file shorter than the DOS header", Image(kOtherFields), good.substr(0, 40)},
        {"file ends inside the headers, after the fields", Image(kOtherFields),
         good.substr(0, 0x80 + 100)},
        {"file ends after the signature", Image(kOtherFields), good.substr(0, 0x80 + 4)},
        {"file names its headers at a negative offset", Image(kOtherFields),
         Image(kFileFields, -8)},
        {"file names its headers beyond 4 MiB", Image(kOtherFields), Image(kFileFields, kFar)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimSystem fresh;
        if (c.file) fresh.fs().AddFile(kPath, *c.file);
        SimProcess p;
        p.pid = kPid;
        p.imagePath = kPath;
        p.imageMemory = c.memory;
        fresh.procs().AddProcess(p);
        EXPECT_FALSE(ImageHeadersDiffer(fresh, kPid, kPath));
        EXPECT_EQ(fresh.procs().OpenHandleCount(), 0);
    }
}

TEST_F(HijackTestOnSim, FarHeadersAreReadableButNotFollowed) {
    // The same far layout with the headers moved to 0x80 is flagged: what stops the far one
    // is the offset, not the simulated memory.
    const std::int32_t kFar = 5 * 1024 * 1024;
    AddTested({kRunning}, 0, Image(kOtherFields, kFar));
    EXPECT_FALSE(ImageHeadersDiffer(sys, kPid, kPath));
    sys.procs().RemoveProcess(kPid);
    AddTested({kRunning}, 0, Image(kOtherFields, zorvik::kMaxNtHeadersOffset));
    EXPECT_TRUE(ImageHeadersDiffer(sys, kPid, kPath));
}

TEST_F(HijackTestOnSim, ImageComparisonOpensForQueryAndReadingOnly) {
    AddTested({kRunning}, 0, Image(kOtherFields));
    ASSERT_TRUE(ImageHeadersDiffer(sys, kPid, kPath));
    EXPECT_EQ(sys.procs().OpenAccesses(),
              (std::vector<std::uint32_t>{platform::kProcessQueryInformation |
                                          platform::kProcessVmRead}));
    EXPECT_EQ(sys.procs().OpenHandleCount(), 0);
}

TEST_F(HijackTestOnSim, ImageComparisonOfAProcessThatCannotBeOpenedOrHasGone) {
    SimProcess p;
    p.pid = kPid;
    p.imagePath = kPath;
    p.imageMemory = Image(kOtherFields);
    p.openable = false;
    p.openableLimited = false;
    sys.fs().AddFile(kPath, Image(kFileFields));
    sys.procs().AddProcess(p);
    EXPECT_FALSE(ImageHeadersDiffer(sys, kPid, kPath));
    EXPECT_FALSE(ImageHeadersDiffer(sys, 4321, kPath));
    EXPECT_EQ(sys.procs().OpenHandleCount(), 0);
}

TEST_F(HijackTestOnSim, ReadImageHeadersGivesTheWholeBlockOrNothing) {
    sys.fs().AddFile(kPath, Image(kOtherFields, 0xF0));
    zorvik::NtHeadersBlock headers{};
    ASSERT_TRUE(zorvik::ReadImageHeaders(sys, kPath, headers));
    EXPECT_EQ(headers[0], 'P');
    EXPECT_EQ(headers[6], 5);
    EXPECT_EQ(headers[40], 0x45);
    EXPECT_EQ(headers[41], 0x23);
    EXPECT_EQ(headers[81], 0x90);

    zorvik::NtHeadersBlock untouched;
    untouched.fill(0xAB);
    sys.fs().AddFile("C:\\Apps\\short.exe", Image(kOtherFields).substr(0, 0x80 + 247));
    EXPECT_FALSE(zorvik::ReadImageHeaders(sys, "C:\\Apps\\short.exe", untouched));
    EXPECT_FALSE(zorvik::ReadImageHeaders(sys, "Unknown", untouched));
    for (std::uint8_t b : untouched) ASSERT_EQ(b, 0xAB);

    // Exactly 248 bytes after the offset is enough.
    sys.fs().AddFile("C:\\Apps\\exact.exe", Image(kOtherFields).substr(0, 0x80 + 248));
    EXPECT_TRUE(zorvik::ReadImageHeaders(sys, "C:\\Apps\\exact.exe", headers));
}

TEST_F(HijackTestOnSim, ParentTextNamesARunningParent) {
    AddParent();
    StartParent();
    AddTested({kSuspendedAtStart, kRunning}, kParentPid);
    std::string details;
    ASSERT_TRUE(Run(details));
    EXPECT_EQ(details, kDetailsBefore + ", Started by: " + kParentPath + kVerdict);
}

TEST_F(HijackTestOnSim, ParentTextAlsoForTheChangedImage) {
    AddParent();
    StartParent();
    AddTested({kRunning}, kParentPid, Image(kOtherFields));
    std::string details;
    ASSERT_TRUE(Run(details));
    EXPECT_EQ(details, kDetailsBefore + ", Started by: " + kParentPath + kVerdict);
}

TEST_F(HijackTestOnSim, ParentThatHasExitedIsNotNamed) {
    AddParent();
    StartParent();
    AddTested({kSuspendedAtStart, kRunning}, kParentPid);
    snapshot_ = TakeProcessSnapshot(sys);
    sys.procs().RemoveProcess(kParentPid);  // exits after the snapshot
    std::string details = kDetailsBefore;
    ASSERT_TRUE(HijackTest(sys, &*snapshot_, kPid, details, kPath));
    EXPECT_EQ(details, kDetailsBefore + kVerdict);
}

TEST_F(HijackTestOnSim, ParentWhoseNameCannotBeReadIsUnknown) {
    platform::sim::SimProcess& parent = AddParent();
    parent.fileNameReadable = false;
    parent.imageNameReadable = false;
    StartParent();
    AddTested({kSuspendedAtStart, kRunning}, kParentPid);
    std::string details;
    ASSERT_TRUE(Run(details));
    EXPECT_EQ(details, kDetailsBefore + ", Started by: Unknown" + kVerdict);
}

TEST_F(HijackTestOnSim, ParentThatCannotBeOpenedIsNotNamed) {
    SimProcess& parent = AddParent();
    parent.openable = false;
    parent.openableLimited = false;
    StartParent();
    AddTested({kSuspendedAtStart, kRunning}, kParentPid);
    std::string details;
    ASSERT_TRUE(Run(details));
    EXPECT_EQ(details, kDetailsBefore + kVerdict);
}

TEST_F(HijackTestOnSim, WithoutASnapshotOnlyTheImageCounts) {
    AddParent();
    StartParent();
    AddTested({kSuspendedAtStart, kRunning}, kParentPid);
    std::string details = kDetailsBefore;
    EXPECT_FALSE(HijackTest(sys, nullptr, kPid, details, kPath));
    EXPECT_EQ(details, kDetailsBefore);

    sys.procs().RemoveProcess(kPid);
    AddTested({kSuspendedAtStart, kRunning}, kParentPid, Image(kOtherFields));
    sys.procs().SetSystemInformationQuery(false);
    ASSERT_TRUE(Run(details));
    EXPECT_FALSE(snapshot_.has_value());
    EXPECT_EQ(details, kDetailsBefore + kVerdict);  // no record, so no parent
}

TEST_F(HijackTestOnSim, ProcessStartedAfterTheSnapshotIsTestedForTheImageOnly) {
    AddParent();
    StartParent();
    snapshot_ = TakeProcessSnapshot(sys);
    ASSERT_TRUE(snapshot_.has_value());

    AddTested({kSuspendedAtStart, kRunning}, kParentPid);
    std::string details = kDetailsBefore;
    EXPECT_FALSE(HijackTest(sys, &*snapshot_, kPid, details, kPath));
    EXPECT_EQ(details, kDetailsBefore);

    sys.procs().RemoveProcess(kPid);
    AddTested({kRunning}, kParentPid, Image(kOtherFields));
    ASSERT_TRUE(HijackTest(sys, &*snapshot_, kPid, details, kPath));
    EXPECT_EQ(details, kDetailsBefore + kVerdict);
}

TEST_F(HijackTestOnSim, AppendsAfterWhateverDetailsHold) {
    AddTested({kSuspendedAtStart, kRunning}, 0);
    snapshot_ = TakeProcessSnapshot(sys);
    std::string details = "Possible Bot Process, 3 Start up\\s detected";
    ASSERT_TRUE(HijackTest(sys, &*snapshot_, kPid, details, kPath));
    EXPECT_EQ(details, "Possible Bot Process, 3 Start up\\s detected" + kVerdict);
}

}  // namespace
