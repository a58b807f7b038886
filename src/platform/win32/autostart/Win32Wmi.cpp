#include "platform/win32/autostart/Win32Wmi.h"

#include "platform/win32/WindowsApi.h"

#include <wbemcli.h>

#include "platform/win32/ComObjects.h"
#include "platform/win32/system/AnsiText.h"

namespace platform::win32 {

namespace {

// CLSID_WbemLocator, which MinGW's import libraries lack.
constexpr GUID kWbemLocatorClass = {
    0x4590f811, 0x1d3a, 0x11d0, {0x89, 0x1f, 0x00, 0xaa, 0x00, 0x4b, 0x2e, 0x24}};
constexpr wchar_t kNamespace[] = L"root\\subscription";
constexpr wchar_t kQueryLanguage[] = L"WQL";
// Per object: a repository that stops answering ends the list rather than the scan.
constexpr LONG kNextTimeoutMs = 10000;
// More consumers than any machine holds; a looping enumerator stops here.
constexpr std::size_t kMaxConsumers = 10000;

// What one class of consumer runs, and which of its properties say so.
struct ConsumerClass {
    WmiConsumerKind kind;
    const wchar_t* query;
    const wchar_t* firstProperty;
    std::string WmiEventConsumer::*first;
    const wchar_t* secondProperty;
    std::string WmiEventConsumer::*second;
};

constexpr ConsumerClass kConsumerClasses[] = {
    {WmiConsumerKind::CommandLine, L"SELECT * FROM CommandLineEventConsumer",
     L"CommandLineTemplate", &WmiEventConsumer::commandLineTemplate,
     L"ExecutablePath", &WmiEventConsumer::executablePath},
    {WmiConsumerKind::ActiveScript, L"SELECT * FROM ActiveScriptEventConsumer",
     L"ScriptText", &WmiEventConsumer::scriptText,
     L"ScriptFileName", &WmiEventConsumer::scriptFileName},
};

// Calls on WMI's proxies impersonate this user, as WMI requires; in-process objects refuse
// the blanket, which does them no harm.
void AllowImpersonation(IUnknown* proxy) {
    ::CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                        RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

ComPtr<IWbemServices> ConnectSubscriptions() {
    ComPtr<IWbemLocator> locator;
    if (FAILED(::CoCreateInstance(kWbemLocatorClass, nullptr, CLSCTX_INPROC_SERVER,
                                  __uuidof(IWbemLocator),
                                  reinterpret_cast<void**>(locator.Receive()))))
        return {};
    ComPtr<IWbemServices> services;
    const ScopedBstr name(kNamespace);
    if (FAILED(locator->ConnectServer(name.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                      services.Receive())) ||
        !services)
        return {};
    AllowImpersonation(services.get());
    return services;
}

// A text property; empty when it is null or not a text.
std::string TextProperty(IWbemClassObject& object, const wchar_t* name) {
    ScopedVariant value;
    if (FAILED(object.Get(name, 0, value.Receive(), nullptr, nullptr)) ||
        value.get().vt != VT_BSTR || !value.get().bstrVal)
        return {};
    return ToAnsi(value.get().bstrVal);
}

void CollectConsumers(IWbemServices& services, const ConsumerClass& consumerClass,
                      std::vector<WmiEventConsumer>& into) {
    ComPtr<IEnumWbemClassObject> found;
    const ScopedBstr language(kQueryLanguage);
    const ScopedBstr query(consumerClass.query);
    if (FAILED(services.ExecQuery(language.get(), query.get(),
                                  WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                  found.Receive())) ||
        !found)
        return;
    AllowImpersonation(found.get());
    while (into.size() < kMaxConsumers) {
        ComPtr<IWbemClassObject> object;
        ULONG returned = 0;
        // S_FALSE at the end, WBEM_S_TIMEDOUT when the next one is late: both end the list.
        if (found->Next(kNextTimeoutMs, 1, object.Receive(), &returned) != WBEM_S_NO_ERROR ||
            returned == 0 || !object)
            break;
        WmiEventConsumer consumer;
        consumer.kind = consumerClass.kind;
        consumer.name = TextProperty(*object, L"Name");
        consumer.*consumerClass.first = TextProperty(*object, consumerClass.firstProperty);
        consumer.*consumerClass.second = TextProperty(*object, consumerClass.secondProperty);
        into.push_back(std::move(consumer));
    }
}

}  // namespace

std::vector<WmiEventConsumer> Win32Wmi::EventConsumers() {
    const ComApartment com;
    std::vector<WmiEventConsumer> consumers;
    // Where the namespace is missing (Wine) the connection fails at once and nothing is asked.
    const ComPtr<IWbemServices> services = ConnectSubscriptions();
    if (!services) return consumers;
    for (const ConsumerClass& consumerClass : kConsumerClasses)
        CollectConsumers(*services, consumerClass, consumers);
    return consumers;
}

}  // namespace platform::win32
