#pragma once
// A thin wrapper of the platform registry: open, query, create and set, with the target
// platform's predefined hive handles and value types (1 a string, 4 a 32-bit number).

#include "platform/Platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace kx::orn {

using RegVariant = std::variant<std::string, std::int32_t>;

inline constexpr std::uint32_t HKEY_CLASSES_ROOT = 0x80000000u, HKEY_CURRENT_USER = 0x80000001u,
                               HKEY_LOCAL_MACHINE = 0x80000002u, HKEY_USERS = 0x80000003u;
inline constexpr std::uint32_t KEY_ACCESS = 63; // query, set, create sub-key, enumerate, notify, link

// The hive of a predefined handle; nullopt for any other number.
std::optional<Hive> hiveOf(std::uint32_t handle);
// The text of a variant: a number as plain decimal text.
std::string variantText(const RegVariant& v);

class WindowsRegistry {
public:
    void CreateNewKey(const std::string& sNewKeyName, std::uint32_t lPredefinedKey);
    // Reads the value into vValue. A missing key is created under HKEY_LOCAL_MACHINE and a
    // value that cannot be read is written there as vValue stands, but only where no value of
    // that name exists yet: nothing that is there is ever replaced.
    void QueryValue(std::uint32_t sKeyType, const std::string& sKeyName, const std::string& sValueName,
                    RegVariant& vValue, std::uint32_t lValueType);
    void SetKeyValue(const std::string& sKeyName, const std::string& sValueName, const RegVariant& vValueSetting,
                     std::uint32_t lValueType);
    long SetValueEx(RegKey hKey, const std::string& sValueName, std::uint32_t lType, const RegVariant& vValue);
    // 0 and the value, or the platform's status (-1 for a type other than 1 and 4) and vValue
    // untouched. Only a trailing NUL is dropped from a string.
    long QueryValueEx(RegKey lhKey, const std::string& szValueName, RegVariant& vValue);
};

} // namespace kx::orn
