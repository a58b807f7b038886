// The place watch against scratch keys under HKEY_CURRENT_USER and scratch folders: each
// change to a watched place is told, naming that place, and an idle watch tells nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ContractEnv.h"
#include "platform/Ui.h"

namespace {

using platform::RegType;
using platform::RootKey;
using platform::WatchedPlace;

// Long enough for any system to deliver a notification; a change on the simulated system is
// told before the wait starts.
constexpr std::uint32_t kDeliveryMs = 5000;
// How long an idle watch is given to stay quiet.
constexpr std::uint32_t kQuietMs = 500;
// Past the 64 handles one wait takes.
constexpr int kManyPlaces = 100;

platform::System& Sys() { return contract::env().System(); }
platform::Registry& Reg() { return Sys().registry(); }

void SetValue(const std::string& keyPath, const std::string& name) {
    platform::RegKey key = platform::CreateKey(Reg(), RootKey::CurrentUser, keyPath);
    ASSERT_TRUE(key) << keyPath;
    ASSERT_TRUE(Reg().Set(key.get(), name, {RegType::Sz, std::string("C:\\bot.exe\0", 11)}));
}

struct Scratch {
    std::string key;     // exists, under HKEY_CURRENT_USER
    std::string folder;  // exists, with its trailing backslash
};

struct WatchCase {
    const char* what;
    // Makes what the case needs before the watch starts; the places to watch.
    std::function<std::vector<WatchedPlace>(const Scratch&)> places;
    std::function<void(const Scratch&)> change;  // none: nothing changes
    std::vector<std::size_t> changed = {0};       // the places the change is told for
};

// The task files of the scheduler; made when missing, as on a system without a task yet.
std::string TaskFolder() {
    const std::string system32 = Sys().files().WindowsDirectory() + "\\System32";
    Sys().files().CreateDirectory(system32);
    Sys().files().CreateDirectory(system32 + "\\Tasks");
    return system32 + "\\Tasks\\";
}
constexpr char kTaskFile[] = "ZorvikContractTask";

// More places than one wait takes handles; each exists.
std::vector<WatchedPlace> ManyKeys(const Scratch& s) {
    std::vector<WatchedPlace> places;
    for (int i = 0; i < kManyPlaces; ++i) {
        const std::string key = s.key + "\\Place" + std::to_string(i);
        platform::CreateKey(Reg(), RootKey::CurrentUser, key);
        places.push_back(WatchedPlace::Key(RootKey::CurrentUser, key));
    }
    return places;
}

const std::vector<WatchCase>& Cases() {
    static const std::vector<WatchCase> cases = {
        {"a value added to a watched key",
         [](const Scratch& s) {
             return std::vector{WatchedPlace::Key(RootKey::CurrentUser, s.key)};
         },
         [](const Scratch& s) { SetValue(s.key, "Bot"); }},
        {"a key made under a missing parent",
         [](const Scratch& s) {
             return std::vector{WatchedPlace::Key(RootKey::CurrentUser, s.key + "\\Missing\\Run")};
         },
         [](const Scratch& s) { SetValue(s.key + "\\Missing\\Run", "Bot"); }},
        {"a file added to a watched folder",
         [](const Scratch& s) { return std::vector{WatchedPlace::Folder(s.folder)}; },
         [](const Scratch& s) {
             ASSERT_TRUE(Sys().files().WriteAll(s.folder + "bot.lnk", "x").ok);
         }},
        {"a file added to a folder made after the watch began",
         [](const Scratch& s) { return std::vector{WatchedPlace::Folder(s.folder + "Startup\\")}; },
         [](const Scratch& s) {
             ASSERT_TRUE(Sys().files().CreateDirectory(s.folder + "Startup"));
             ASSERT_TRUE(Sys().files().WriteAll(s.folder + "Startup\\bot.lnk", "x").ok);
         }},
        {"a task file added",
         [](const Scratch&) {
             TaskFolder();
             return std::vector{WatchedPlace::ScheduledTasks()};
         },
         [](const Scratch&) {
             ASSERT_TRUE(Sys().files().WriteAll(TaskFolder() + kTaskFile, "<Task/>").ok);
         }},
        // Wine tells only the key above a deleted key, never the deleted key's own watch.
        {"a watched key deleted",
         [](const Scratch& s) {
             SetValue(s.key + "\\Gone", "Old");
             return std::vector{WatchedPlace::Key(RootKey::CurrentUser, s.key + "\\Gone")};
         },
         [](const Scratch& s) {
             ASSERT_TRUE(Reg().DeleteTree(RootKey::CurrentUser, s.key + "\\Gone"));
         }},
        {"the last of many watched places",
         ManyKeys,
         [](const Scratch& s) {
             SetValue(s.key + "\\Place" + std::to_string(kManyPlaces - 1), "Bot");
         },
         {kManyPlaces - 1}},
        {"nothing changed in many places",
         [](const Scratch& s) {
             auto places = ManyKeys(s);
             places.push_back(WatchedPlace::Folder(s.folder));
             return places;
         },
         nullptr,
         {}},
    };
    return cases;
}

class PlaceWatchContract : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_.key = contract::env().ScratchKey();
        scratch_.folder = contract::env().ScratchDir();
        ASSERT_TRUE(platform::CreateKey(Reg(), RootKey::CurrentUser, scratch_.key));
    }
    void TearDown() override {
        Reg().DeleteTree(RootKey::CurrentUser, scratch_.key);
        Sys().files().Delete(TaskFolder() + kTaskFile);
    }

    Scratch scratch_;
};

TEST_F(PlaceWatchContract, TellsEachChangeOfAWatchedPlaceAndNothingElse) {
    for (const auto& c : Cases()) {
        SCOPED_TRACE(c.what);
        Scratch scratch{scratch_.key + "\\" + std::to_string(&c - Cases().data()), scratch_.folder};
        ASSERT_TRUE(platform::CreateKey(Reg(), RootKey::CurrentUser, scratch.key));
        auto watch = Sys().NewPlaceWatch();
        ASSERT_TRUE(watch);
        const auto places = c.places(scratch);
        EXPECT_EQ(watch->Watch(places), places.size());
        if (c.change) {
            c.change(scratch);
            const platform::PlaceChanges changes = watch->WaitForChange(kDeliveryMs);
            EXPECT_FALSE(changes.unplaced);
            EXPECT_EQ(changes.places, c.changed);
        } else {
            EXPECT_FALSE(watch->WaitForChange(kQuietMs));
        }
    }
}

// Handles the window messages that arrive until done says so or ms have passed.
void PumpMessages(platform::Ui& ui, std::uint32_t ms, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        ui.ProcessMessages();
        if (done() || std::chrono::steady_clock::now() >= deadline) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The GUI is told through its message loop, so that it rescans on its own thread.
TEST_F(PlaceWatchContract, AChangePostsTheMessageToTheWindowOnce) {
    platform::Ui& ui = Sys().ui();
    platform::WindowSpec targetWindow;
    targetWindow.name = "frmWatchTarget";
    auto window = ui.NewWindow(targetWindow);
    const std::uint32_t changedMessage = ui.RegisterMessage("ZorvikContractPlacesChanged");
    int posts = 0;
    const platform::ListenerToken listening = window->AddMessageListener(
        [&](std::uint32_t message, std::uintptr_t, std::intptr_t) {
            if (message == changedMessage) ++posts;
        });
    auto watch = Sys().NewPlaceWatch();
    ASSERT_TRUE(watch);
    ASSERT_EQ(watch->Watch({WatchedPlace::Key(RootKey::CurrentUser, scratch_.key)}), 1u);
    watch->NotifyWindow(window.get(), changedMessage);

    SetValue(scratch_.key, "First");
    PumpMessages(ui, kDeliveryMs, [&] { return posts > 0; });
    EXPECT_EQ(posts, 1);
    // A second change before the first is taken adds no message.
    SetValue(scratch_.key, "Second");
    PumpMessages(ui, contract::env().IsSimulated() ? 0 : kQuietMs, [] { return false; });
    EXPECT_EQ(posts, 1);
    EXPECT_TRUE(watch->TakeChange());
    watch->NotifyWindow(nullptr, 0);
}

}  // namespace
