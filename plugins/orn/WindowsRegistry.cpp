#include "WindowsRegistry.h"

#include "core/RunError.h"
#include "core/Text.h"

namespace kx::orn {

std::optional<Hive> hiveOf(std::uint32_t handle) {
    switch (handle) {
    case HKEY_CLASSES_ROOT: return Hive::ClassesRoot;
    case HKEY_CURRENT_USER: return Hive::CurrentUser;
    case HKEY_LOCAL_MACHINE: return Hive::LocalMachine;
    case HKEY_USERS: return Hive::Users;
    default: return std::nullopt;
    }
}

std::string variantText(const RegVariant& v) {
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    return std::to_string(std::get<std::int32_t>(v));
}

void WindowsRegistry::CreateNewKey(const std::string& sNewKeyName, std::uint32_t lPredefinedKey) {
    const auto hive = hiveOf(lPredefinedKey);
    if (!hive) return;
    RegKey key = 0;
    // Creating opens a key that exists; nothing in it changes.
    if (platform().regCreateKey(*hive, sNewKeyName, key) == reg::Success) platform().regCloseKey(key);
}

void WindowsRegistry::QueryValue(std::uint32_t sKeyType, const std::string& sKeyName, const std::string& sValueName,
                                 RegVariant& vValue, std::uint32_t lValueType) {
    RegKey key = 0;
    bool open = false;
    const auto hive = hiveOf(sKeyType);
    if (hive && platform().regOpenKey(*hive, sKeyName, key) == reg::Success) open = true;
    else CreateNewKey(sKeyName, HKEY_LOCAL_MACHINE);

    const long status = open ? QueryValueEx(key, sValueName, vValue) : reg::InvalidHandle;
    if (status != reg::Success) SetKeyValue(sKeyName, sValueName, vValue, lValueType);
    if (open) platform().regCloseKey(key);
}

void WindowsRegistry::SetKeyValue(const std::string& sKeyName, const std::string& sValueName,
                                  const RegVariant& vValueSetting, std::uint32_t lValueType) {
    RegKey key = 0;
    if (platform().regOpenKey(Hive::LocalMachine, sKeyName, key) != reg::Success) return;
    // The write-back of an unreadable value adds a missing value only: a value of another type,
    // or one under HKEY_LOCAL_MACHINE when another hive was asked for, stays as it is.
    std::uint32_t type = 0;
    std::string data;
    if (platform().regQueryValue(key, sValueName, type, data) == reg::FileNotFound)
        SetValueEx(key, sValueName, lValueType, vValueSetting);
    platform().regCloseKey(key);
}

long WindowsRegistry::SetValueEx(RegKey hKey, const std::string& sValueName, std::uint32_t lType,
                                 const RegVariant& vValue) {
    if (lType == reg::Sz) return platform().regSetString(hKey, sValueName, variantText(vValue));
    if (lType == reg::Dword) {
        std::int32_t n = 0;
        if (const auto* i = std::get_if<std::int32_t>(&vValue)) n = *i;
        else {
            try {
                n = toInt32(val(std::get<std::string>(vValue)));
            } catch (const RunError&) {
                return err::Overflow;
            }
        }
        return platform().regSetDword(hKey, sValueName, std::uint32_t(n));
    }
    return 0;
}

long WindowsRegistry::QueryValueEx(RegKey lhKey, const std::string& szValueName, RegVariant& vValue) {
    std::uint32_t type = 0;
    std::string data;
    const long status = platform().regQueryValue(lhKey, szValueName, type, data);
    if (status != reg::Success) return status;
    if (type == reg::Sz) {
        if (!data.empty() && data.back() == '\0') data.pop_back();
        vValue = data;
        return reg::Success;
    }
    if (type == reg::Dword) {
        if (data.size() != 4) return reg::MoreData;
        std::uint32_t n = 0;
        for (int b = 3; b >= 0; --b) n = (n << 8) | static_cast<unsigned char>(data[size_t(b)]);
        vValue = std::int32_t(n);
        return reg::Success;
    }
    return -1;
}

} // namespace kx::orn
