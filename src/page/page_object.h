// The filter's property page: the COM object, its window and dialogs.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <atomic>

#include "plugin/live_object.h"
#include "quillet/plugin.h"
#include "zq/theme.h"

namespace quillet {

class FilterObject;

// Messages the page posts to its own window.
constexpr UINT kPageRefreshMessage = WM_APP + 1;  // wParam: the notification's word 9
constexpr UINT kPageTimeMessage = WM_APP + 2;

class PropertyPage final : public IQuilletPropertyPage, public IQuilletObserver {
 public:
  PropertyPage() = default;
  ~PropertyPage();

  // IUnknown (one identity: the IQuilletPropertyPage table)
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;

  // IPropertyPage
  HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) noexcept override;
  HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL modal) noexcept override;
  HRESULT STDMETHODCALLTYPE Deactivate() noexcept override;
  HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) noexcept override;
  HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) noexcept override;
  HRESULT STDMETHODCALLTYPE Show(UINT command) noexcept override;
  HRESULT STDMETHODCALLTYPE Move(LPCRECT rect) noexcept override;
  HRESULT STDMETHODCALLTYPE IsPageDirty() noexcept override { return S_FALSE; }  // edits go straight to the host
  HRESULT STDMETHODCALLTYPE Apply() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Help(LPCOLESTR) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) noexcept override;

  // The page's own slots
  HRESULT STDMETHODCALLTYPE Destroy(DWORD flags) noexcept override;
  HRESULT STDMETHODCALLTYPE Initialize() noexcept override;
  HRESULT STDMETHODCALLTYPE PageEvent(DWORD a, DWORD b) noexcept override;
  HRESULT STDMETHODCALLTYPE FilterNotify(const QUILLET_NOTIFICATION* n) noexcept override;
  HRESULT STDMETHODCALLTYPE Reserved18() noexcept override { return E_NOTIMPL; }

  // IQuilletObserver: what the filter forwards
  HRESULT STDMETHODCALLTYPE OnNotify(const QUILLET_NOTIFICATION* n) noexcept override { return FilterNotify(n); }
  HRESULT STDMETHODCALLTYPE OnPageEvent(DWORD a, DWORD b) noexcept override { return PageEvent(a, b); }

  // For the page window.
  FilterObject* Filter() const { return filter_; }
  HWND Window() const { return window_; }
  void SetWindow(HWND window) { window_ = window; }
  // The page window is being destroyed (by Deactivate or by its parent).
  void WindowGone(HWND window) noexcept;
  HIMAGELIST Images(int which) const { return images_[which]; }
  ZQXPTHEME* Theme() { return &theme_; }

 private:
  void ReleaseFilter() noexcept;
  void Observe(bool on) noexcept;

  LiveObject live_;
  std::atomic<LONG> refs_{0};
  IPropertyPageSite* site_ = nullptr;
  FilterObject* filter_ = nullptr;  // held through its main table
  bool observing_ = false;
  HWND window_ = nullptr;
  SIZE size_ = {};
  bool sized_ = false;
  HIMAGELIST images_[3] = {};  // track toolbar, transport toolbar, transport toolbar disabled
  ZQXPTHEME theme_ = {};
};

// The page window (page_dialog.cpp).
INT_PTR CALLBACK PageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
// The toolbar images, drawn into 16 x 16 image lists (page_images.cpp).
void CreatePageImages(HIMAGELIST images[3]) noexcept;
// The window classes the page's dialog uses: registered with the first
// page, removed when the module goes.
void RegisterPageClasses() noexcept;
void UnregisterPageClasses() noexcept;

// A new page for its class factory (page_object.cpp).
HRESULT CreatePageObject(REFIID iid, void** out) noexcept;

}  // namespace quillet
