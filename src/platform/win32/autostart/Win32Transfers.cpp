#include "platform/win32/autostart/Win32Transfers.h"

#include "platform/win32/WindowsApi.h"

#include <bits.h>
#include <bits1_5.h>

#include "platform/win32/ComObjects.h"
#include "platform/win32/system/AnsiText.h"

namespace platform::win32 {

namespace {

// CLSID_BackgroundCopyManager, which MinGW's import libraries lack.
constexpr GUID kCopyManagerClass = {
    0x4991d34b, 0x80a1, 0x4291, {0x83, 0xb6, 0x33, 0x28, 0x36, 0x6b, 0x90, 0x97}};
// More jobs than any queue holds; an enumerator that loops stops here.
constexpr std::size_t kMaxJobs = 10000;

ComPtr<IBackgroundCopyManager> ConnectManager() {
    ComPtr<IBackgroundCopyManager> manager;
    if (FAILED(::CoCreateInstance(kCopyManagerClass, nullptr, CLSCTX_LOCAL_SERVER,
                                  __uuidof(IBackgroundCopyManager),
                                  reinterpret_cast<void**>(manager.Receive()))))
        return {};
    return manager;
}

std::string GuidText(const GUID& id) {
    wchar_t text[40] = {};
    if (::StringFromGUID2(id, text, 40) == 0) return {};
    return ToAnsi(text);
}

std::string TakeText(LPWSTR text) {
    const TaskWideText owned(text);
    return owned ? ToAnsi(owned.get()) : std::string();
}

TransferJob Describe(IBackgroundCopyJob& job) {
    TransferJob out;
    GUID id = {};
    if (SUCCEEDED(job.GetId(&id))) out.id = GuidText(id);
    LPWSTR name = nullptr;
    if (SUCCEEDED(job.GetDisplayName(&name))) out.name = TakeText(name);
    BG_JOB_STATE state = BG_JOB_STATE_QUEUED;
    out.suspended = SUCCEEDED(job.GetState(&state)) && state == BG_JOB_STATE_SUSPENDED;
    // BITS 1.5 and later; a job of an older BITS has no command line.
    ComPtr<IBackgroundCopyJob2> job2;
    if (SUCCEEDED(job.QueryInterface(__uuidof(IBackgroundCopyJob2),
                                     reinterpret_cast<void**>(job2.Receive()))) &&
        job2) {
        LPWSTR program = nullptr;
        LPWSTR parameters = nullptr;
        // Wine answers E_NOTIMPL; each text is taken only when the call handed it out.
        const HRESULT got = job2->GetNotifyCmdLine(&program, &parameters);
        const std::string programText = TakeText(program);
        const std::string parametersText = TakeText(parameters);
        if (SUCCEEDED(got)) {
            out.notifyProgram = programText;
            out.notifyParameters = parametersText;
        }
    }
    return out;
}

ComPtr<IEnumBackgroundCopyJobs> EnumerateJobs(IBackgroundCopyManager& manager) {
    ComPtr<IEnumBackgroundCopyJobs> jobs;
    // Every account's needs an administrator; a user sees his own.
    if (SUCCEEDED(manager.EnumJobs(BG_JOB_ENUM_ALL_USERS, jobs.Receive())) && jobs) return jobs;
    if (SUCCEEDED(manager.EnumJobs(0, jobs.Receive())) && jobs) return jobs;
    return {};
}

}  // namespace

std::vector<TransferJob> Win32Transfers::Jobs() {
    const ComApartment com;
    std::vector<TransferJob> found;
    const ComPtr<IBackgroundCopyManager> manager = ConnectManager();
    if (!manager) return found;
    const ComPtr<IEnumBackgroundCopyJobs> jobs = EnumerateJobs(*manager);
    if (!jobs) return found;
    while (found.size() < kMaxJobs) {
        ComPtr<IBackgroundCopyJob> job;
        ULONG fetched = 0;
        if (jobs->Next(1, job.Receive(), &fetched) != S_OK || fetched == 0 || !job) break;
        found.push_back(Describe(*job));
    }
    return found;
}

bool Win32Transfers::Suspend(const std::string& id) {
    const ComApartment com;
    GUID jobId = {};
    const std::wstring idText = WideFromAnsi(id);
    if (FAILED(::CLSIDFromString(const_cast<LPOLESTR>(idText.c_str()), &jobId))) return false;
    const ComPtr<IBackgroundCopyManager> manager = ConnectManager();
    if (!manager) return false;
    ComPtr<IBackgroundCopyJob> job;
    if (FAILED(manager->GetJob(jobId, job.Receive())) || !job) return false;
    return SUCCEEDED(job->Suspend());
}

}  // namespace platform::win32
