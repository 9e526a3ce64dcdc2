// SetupAPI and cfgmgr32 behind DeviceManagerApi (api_win32.h).
#ifdef _WIN32

#include "config/cfgmgr/api_win32.h"

// clang-format off
#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>
// clang-format on

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace kelvox {

namespace {

std::string Utf8(const wchar_t* text, size_t count) {
  if (count == 0) return "";
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(count), nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return "";
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(count), out.data(), bytes, nullptr,
                      nullptr);
  return out;
}

// "CALL: <the system's text> (error N)".
std::string CallFailed(const char* call, DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = length > 0 ? Utf8(text, length) : "unknown error";
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return std::string(call) + ": " + message + " (error " + std::to_string(code) + ")";
}

// One registry property of a device as raw bytes, or nothing when the device lacks it.
std::optional<std::vector<BYTE>> Property(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property,
                                          DWORD& type) {
  std::vector<BYTE> buffer(256);
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD required = 0;
    if (SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type, buffer.data(),
                                          static_cast<DWORD>(buffer.size()), &required)) {
      if (required <= buffer.size()) buffer.resize(required);
      return buffer;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || required <= buffer.size()) break;
    buffer.resize(required);
  }
  return std::nullopt;
}

// A string or multi-string property in UTF-8, NULs kept; nothing when missing or of another
// type.
std::optional<std::string> TextProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
  DWORD type = 0;
  const std::optional<std::vector<BYTE>> bytes = Property(set, device, property, type);
  if (!bytes || (type != REG_SZ && type != REG_MULTI_SZ)) return std::nullopt;
  std::wstring wide(bytes->size() / sizeof(wchar_t), L'\0');
  std::memcpy(wide.data(), bytes->data(), wide.size() * sizeof(wchar_t));
  if (type == REG_SZ) wide = wide.c_str();  // up to its first NUL
  return Utf8(wide.data(), wide.size());
}

std::optional<uint32_t> NumberProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
  DWORD type = 0;
  const std::optional<std::vector<BYTE>> bytes = Property(set, device, property, type);
  if (!bytes || type != REG_DWORD || bytes->size() < sizeof(DWORD)) return std::nullopt;
  DWORD value = 0;
  std::memcpy(&value, bytes->data(), sizeof value);
  return value;
}

std::string InstanceId(HDEVINFO set, SP_DEVINFO_DATA& device) {
  std::vector<wchar_t> buffer(MAX_DEVICE_ID_LEN + 1);
  DWORD required = 0;
  if (!SetupDiGetDeviceInstanceIdW(set, &device, buffer.data(), static_cast<DWORD>(buffer.size()),
                                   &required)) {
    return "";
  }
  return Utf8(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
}

// The configuration-manager functions that read resource descriptors and a device's parent,
// found by name.
class ResourceReader {
 public:
  ResourceReader() {
    // Wine exports these as stubs that end the process when called.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr) return;
    module_ = LoadLibraryW(L"cfgmgr32.dll");
    if (module_ == nullptr) return;
    Find(first_log_conf_, "CM_Get_First_Log_Conf");
    Find(next_res_des_, "CM_Get_Next_Res_Des");
    Find(data_size_, "CM_Get_Res_Des_Data_Size");
    Find(data_, "CM_Get_Res_Des_Data");
    Find(free_res_des_, "CM_Free_Res_Des_Handle");
    Find(free_log_conf_, "CM_Free_Log_Conf_Handle");
    Find(get_parent_, "CM_Get_Parent");
    Find(device_id_, "CM_Get_Device_IDW");
  }
  ~ResourceReader() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  ResourceReader(const ResourceReader&) = delete;
  ResourceReader& operator=(const ResourceReader&) = delete;

  // The instance ID of the device `device` hangs from; nothing when it cannot be learned.
  std::optional<std::string> ParentInstanceId(DEVINST device) const {
    if (!get_parent_ || !device_id_) return std::nullopt;
    DEVINST parent = 0;
    if (get_parent_(&parent, device, 0) != CR_SUCCESS) return std::nullopt;
    std::vector<wchar_t> buffer(MAX_DEVICE_ID_LEN + 1);
    if (device_id_(parent, buffer.data(), static_cast<ULONG>(buffer.size()), 0) != CR_SUCCESS) {
      return std::nullopt;
    }
    return Utf8(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
  }

  // The allocated configuration's descriptors, else the boot configuration's; none when the
  // functions are missing or fail.
  std::vector<DeviceResource> Resources(DEVINST device) const {
    std::vector<DeviceResource> found;
    if (!first_log_conf_ || !next_res_des_ || !data_size_ || !data_ || !free_res_des_ ||
        !free_log_conf_) {
      return found;
    }
    LOG_CONF conf = 0;
    if (first_log_conf_(&conf, device, ALLOC_LOG_CONF) != CR_SUCCESS &&
        first_log_conf_(&conf, device, BOOT_LOG_CONF) != CR_SUCCESS) {
      return found;
    }
    RES_DES current = static_cast<RES_DES>(conf);
    bool current_is_conf = true;
    while (true) {
      RES_DES next = 0;
      RESOURCEID type = 0;
      if (next_res_des_(&next, current, ResType_All, &type, 0) != CR_SUCCESS) break;
      if (!current_is_conf) free_res_des_(current);
      current = next;
      current_is_conf = false;
      ULONG size = 0;
      if (data_size_(&size, current, 0) != CR_SUCCESS || size == 0) continue;
      std::vector<BYTE> data(size);
      if (data_(current, data.data(), size, 0) != CR_SUCCESS) continue;
      if (std::optional<DeviceResource> r = Descriptor(type, data)) found.push_back(*r);
    }
    if (!current_is_conf) free_res_des_(current);
    free_log_conf_(conf);
    return found;
  }

 private:
  template <typename Function>
  void Find(Function& function, const char* name) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  template <typename Header>
  static std::optional<Header> HeaderOf(const std::vector<BYTE>& data) {
    if (data.size() < sizeof(Header)) return std::nullopt;
    Header header;
    std::memcpy(&header, data.data(), sizeof header);
    return header;
  }

  static std::optional<DeviceResource> Descriptor(RESOURCEID type, const std::vector<BYTE>& data) {
    using Kind = DeviceResource::Kind;
    switch (type) {
      case ResType_Mem:
        if (const auto d = HeaderOf<MEM_DES>(data)) {
          return DeviceResource{Kind::kMemory, d->MD_Alloc_Base, d->MD_Alloc_End, d->MD_Flags};
        }
        break;
      case ResType_MemLarge:
        if (const auto d = HeaderOf<MEM_LARGE_DES>(data)) {
          return DeviceResource{Kind::kLargeMemory, d->MLD_Alloc_Base, d->MLD_Alloc_End,
                                d->MLD_Flags};
        }
        break;
      case ResType_IO:
        if (const auto d = HeaderOf<IO_DES>(data)) {
          return DeviceResource{Kind::kIo, d->IOD_Alloc_Base, d->IOD_Alloc_End, d->IOD_DesFlags};
        }
        break;
      case ResType_IRQ:
        if (const auto d = HeaderOf<IRQ_DES>(data)) {
          return DeviceResource{Kind::kIrq, d->IRQD_Alloc_Num, 0, d->IRQD_Flags};
        }
        break;
      default:
        break;
    }
    return std::nullopt;
  }

  HMODULE module_ = nullptr;
  CONFIGRET(WINAPI* first_log_conf_)(PLOG_CONF, DEVINST, ULONG) = nullptr;
  CONFIGRET(WINAPI* next_res_des_)(PRES_DES, RES_DES, RESOURCEID, PRESOURCEID, ULONG) = nullptr;
  CONFIGRET(WINAPI* data_size_)(PULONG, RES_DES, ULONG) = nullptr;
  CONFIGRET(WINAPI* data_)(RES_DES, PVOID, ULONG, ULONG) = nullptr;
  CONFIGRET(WINAPI* free_res_des_)(RES_DES) = nullptr;
  CONFIGRET(WINAPI* free_log_conf_)(LOG_CONF) = nullptr;
  CONFIGRET(WINAPI* get_parent_)(PDEVINST, DEVINST, ULONG) = nullptr;
  CONFIGRET(WINAPI* device_id_)(DEVINST, PWSTR, ULONG, ULONG) = nullptr;
};

class WindowsDeviceManagerApi final : public DeviceManagerApi {
 public:
  DeviceEnumeration PciDevices() override {
    DeviceEnumeration result;
    const HDEVINFO set =
        SetupDiGetClassDevsW(nullptr, L"PCI", nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) {
      result.error = CallFailed("SetupDiGetClassDevs", GetLastError());
      return result;
    }
    const ResourceReader reader;
    for (DWORD index = 0;; ++index) {
      SP_DEVINFO_DATA device = {};
      device.cbSize = sizeof device;
      if (!SetupDiEnumDeviceInfo(set, index, &device)) {
        const DWORD code = GetLastError();
        if (code != ERROR_NO_MORE_ITEMS) {
          result.devices.clear();
          result.error = CallFailed("SetupDiEnumDeviceInfo", code);
        }
        break;
      }
      DeviceRecord record;
      record.instance_id = InstanceId(set, device);
      record.hardware_ids = TextProperty(set, device, SPDRP_HARDWAREID).value_or("");
      record.compatible_ids = TextProperty(set, device, SPDRP_COMPATIBLEIDS).value_or("");
      record.bus_number = NumberProperty(set, device, SPDRP_BUSNUMBER);
      record.address = NumberProperty(set, device, SPDRP_ADDRESS);
      record.location_text = TextProperty(set, device, SPDRP_LOCATION_INFORMATION);
      record.service = TextProperty(set, device, SPDRP_SERVICE);
      record.resources = reader.Resources(device.DevInst);
      record.parent_instance_id = reader.ParentInstanceId(device.DevInst);
      result.devices.push_back(std::move(record));
    }
    SetupDiDestroyDeviceInfoList(set);
    return result;
  }
};

}  // namespace

std::unique_ptr<DeviceManagerApi> MakeWindowsDeviceManagerApi() {
  return std::make_unique<WindowsDeviceManagerApi>();
}

}  // namespace kelvox

#endif  // _WIN32
