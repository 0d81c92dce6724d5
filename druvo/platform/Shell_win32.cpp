// Shortcuts and special folders through the shell: a shortcut is a real
// .lnk file written by IShellLink/IPersistFile, with COM initialised for the
// call as the system does (and released again when this call started it).
// CP1250 texts reach the shell as UTF-16, whatever the ANSI code page.
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <string>

#include "druvo/platform/Shell.h"

namespace druvo {

namespace {

std::wstring Wide(const AnsiString& text) {
  const WideString wide = AnsiToWide(text);
  return std::wstring(wide.begin(), wide.end());
}

std::wstring Backslashed(const AnsiString& path) {
  std::wstring wide = Wide(path);
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return wide;
}

// COM for the current thread while it lives.
class ComScope {
 public:
  ComScope() : result_(CoInitialize(nullptr)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  // RPC_E_CHANGED_MODE: COM is already on in another mode, which serves too.
  bool Ready() const {
    return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE;
  }

 private:
  HRESULT result_;
};

// Releases a COM interface when it goes out of scope.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_ != nullptr) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  Interface* operator->() const { return p_; }
  Interface** Out() { return &p_; }
  void** OutVoid() { return reinterpret_cast<void**>(&p_); }

 private:
  Interface* p_ = nullptr;
};

bool Describe(IShellLinkW* shell, const TShellLink& link) {
  return SUCCEEDED(shell->SetPath(Backslashed(link.Target).c_str())) &&
         SUCCEEDED(shell->SetArguments(Wide(link.Arguments).c_str())) &&
         SUCCEEDED(shell->SetWorkingDirectory(
             Backslashed(link.WorkingDirectory).c_str())) &&
         SUCCEEDED(shell->SetIconLocation(
             Backslashed(link.IconLocation).c_str(), link.IconIndex));
}

}  // namespace

bool SaveShellLink(const TShellLink& link, const AnsiString& path) {
  if (path.empty() || path.find('\0') != AnsiString::npos) return false;
  ComScope com;
  if (!com.Ready()) return false;
  ComPtr<IShellLinkW> shell;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IShellLinkW, shell.OutVoid())) ||
      !Describe(shell.operator->(), link)) {
    return false;
  }
  ComPtr<IPersistFile> file;
  if (FAILED(shell->QueryInterface(IID_IPersistFile, file.OutVoid()))) {
    return false;
  }
  // Saved beside the target first, so that a failure leaves no partial
  // shortcut and an existing one stays until the new one is whole.
  const std::wstring target = Backslashed(path);
  const std::wstring temporary = target + L".new~";
  if (FAILED(file->Save(temporary.c_str(), TRUE))) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  if (!MoveFileExW(temporary.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

bool SpecialFolderPath(HWND owner, int folder, AnsiString& path) {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(static_cast<::HWND>(owner), folder,
                                        &list))) {
    return false;
  }
  wchar_t buffer[MAX_PATH] = {};
  const bool found = SHGetPathFromIDListW(list, buffer) != FALSE;
  CoTaskMemFree(list);
  if (!found) return false;
  const std::wstring_view wide(buffer);
  path = WideToAnsi(std::u16string_view(
      reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
  return true;
}

}  // namespace druvo
