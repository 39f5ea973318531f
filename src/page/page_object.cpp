// The property page object: identity, lifetime and the IPropertyPage slots.
#include "page/page_object.h"

#include <cstring>

#include "core/module_state.h"
#include "plugin/filter_object.h"
#include "plugin/global_object.h"
#include "page/page_commands.h"
#include "page/page_ids.h"
#include "zq/help.h"
#include "zq/lang.h"

namespace quillet {

PropertyPage::~PropertyPage() {
  Observe(false);
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
  ReleaseFilter();
  if (site_) site_->Release();
  site_ = nullptr;
  for (HIMAGELIST& list : images_) {
    if (list) ImageList_Destroy(list);
    list = nullptr;
  }
  if (theme_.library) XPTheme_Cleanup(&theme_);
}

HRESULT PropertyPage::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  IUnknown* answer = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyPage) || IsEqualIID(iid, IID_IQuilletPropertyPage))
    answer = static_cast<IQuilletPropertyPage*>(this);
  else if (IsEqualIID(iid, IID_IQuilletObserver))
    answer = static_cast<IQuilletObserver*>(this);
  else
    return E_NOINTERFACE;
  answer->AddRef();
  *out = answer;
  return S_OK;
}

ULONG PropertyPage::AddRef() noexcept { return ++refs_; }

ULONG PropertyPage::Release() noexcept {
  LONG left = --refs_;
  if (left == 0) Destroy(1);
  return left < 0 ? 0 : left;
}

HRESULT PropertyPage::Destroy(DWORD flags) noexcept {
  if (flags & 1) GlobalDelete(this);
  else this->~PropertyPage();
  return S_OK;
}

HRESULT PropertyPage::Initialize() noexcept {
  RegisterPageClasses();
  CreatePageImages(images_);
  return S_OK;
}

// The page and the filter hold each other while the page is the filter's
// observer: the observer is set only while the page has a window and a
// filter, and cleared whenever either goes.
void PropertyPage::Observe(bool on) noexcept {
  if (!filter_ || on == observing_) return;
  IUnknown* self = static_cast<IQuilletPropertyPage*>(this);
  if (on) filter_->SetObserver(self);
  else filter_->ClearObserver(self);
  observing_ = on;
}

void PropertyPage::ReleaseFilter() noexcept {
  Observe(false);
  if (filter_) static_cast<IQuilletFilter*>(filter_)->Release();
  filter_ = nullptr;
}

HRESULT PropertyPage::SetPageSite(IPropertyPageSite* site) noexcept {
  if (site) site->AddRef();
  if (site_) site_->Release();
  site_ = site;
  if (site && !sized_) {
    // Measured once, on a window that never shows.
    HWND probe = ZqCreateDialogParam(zq::core::DefaultLang(), MAKEINTRESOURCEW(IDD_PAGE), GetDesktopWindow(),
                                     PageDialogProc, 0);
    if (probe) {
      RECT r;
      GetWindowRect(probe, &r);
      size_ = {r.right - r.left, r.bottom - r.top};
      sized_ = true;
      DestroyWindow(probe);
    }
  }
  return S_OK;
}

HRESULT PropertyPage::Activate(HWND parent, LPCRECT rect, BOOL) noexcept {
  if (window_) Deactivate();
  HWND window = ZqCreateDialogParam(zq::core::DefaultLang(), MAKEINTRESOURCEW(IDD_PAGE), parent, PageDialogProc,
                                    reinterpret_cast<LPARAM>(this));
  if (!window) return E_UNEXPECTED;
  window_ = window;
  if (rect) MoveWindow(window, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
  Observe(true);
  return S_OK;
}

void PropertyPage::WindowGone(HWND window) noexcept {
  if (window != window_) return;
  window_ = nullptr;
  Observe(false);  // last: this may be the page's last reference
}

HRESULT PropertyPage::Deactivate() noexcept {
  Observe(false);
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
  return S_OK;
}

HRESULT PropertyPage::GetPageInfo(PROPPAGEINFO* info) noexcept {
  if (!info) return E_POINTER;
  if (info->cb > sizeof(PROPPAGEINFO)) info->cb = sizeof(PROPPAGEINFO);
  static_assert(sizeof(void*) != 4 || sizeof(PROPPAGEINFO) == 28, "page information is 28 bytes");
  info->pszTitle = nullptr;
  if (LPCWSTR title = ZqGetString(zq::core::DefaultLang(), IDS_PAGE_TITLE)) {
    size_t bytes = (wcslen(title) + 1) * sizeof(WCHAR);
    info->pszTitle = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (info->pszTitle) memcpy(info->pszTitle, title, bytes);
  }
  info->size = size_;
  info->pszDocString = nullptr;
  info->pszHelpFile = nullptr;
  info->dwHelpContext = 0;
  // Context help of the page and its dialogs uses this module's files.
  for (int kind : {ZQHELP_CLASSIC, ZQHELP_HTML}) {
    WCHAR path[MAX_PATH];
    ZqHelp_CreatePluginHelpFilePath(kind, zq::core::ModuleInstance(), path, MAX_PATH, TRUE);
    ZqHelp_SetHelpFilePath(kind, path);
  }
  return S_OK;
}

// A frame detaches with (0, null): nothing is held afterwards.
HRESULT PropertyPage::SetObjects(ULONG count, IUnknown** objects) noexcept {
  ReleaseFilter();
  if (count == 0 || !objects) return S_OK;
  if (!objects[0]) return E_POINTER;
  IQuilletFilter* filter = nullptr;
  HRESULT hr = objects[0]->QueryInterface(IID_IQuilletFilter, reinterpret_cast<void**>(&filter));
  if (FAILED(hr)) return hr;
  // Only this module's filters: the page works on their inside.
  IQuilletFilter* own = nullptr;
  hr = filter->QueryInterface(IID_QuilletFilterObject, reinterpret_cast<void**>(&own));
  filter->Release();
  if (FAILED(hr)) return hr;
  filter_ = static_cast<FilterObject*>(own);
  if (window_) Observe(true);
  return S_OK;
}

HRESULT PropertyPage::Show(UINT command) noexcept {
  if (!window_) return E_UNEXPECTED;
  ShowWindow(window_, static_cast<int>(command));
  if (command != SW_HIDE) {
    // The frame has placed everything by now: lay out to what it shows.
    RECT client;
    GetClientRect(window_, &client);
    SendMessageW(window_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  }
  return S_OK;
}

HRESULT PropertyPage::Move(LPCRECT rect) noexcept {
  if (!rect) return E_POINTER;
  if (!window_) return E_UNEXPECTED;
  MoveWindow(window_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
  return S_OK;
}

namespace {

// A control that is typed into (an edit, the grid's in-place editor among
// them, that is not read-only): it keeps its own keys.
bool TakesText(HWND window) {
  return (SendMessageW(window, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) &&
         !(GetWindowLongW(window, GWL_STYLE) & ES_READONLY);
}

bool Down(int key) { return GetKeyState(key) < 0; }

}  // namespace

// The shortcuts the toolbars' tooltips name, wherever the focus is on the
// page, while their button is enabled; S_FALSE for every other message.
HRESULT PropertyPage::TranslateAccelerator(MSG* message) noexcept {
  if (!message || !window_ || (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN)) return S_FALSE;
  if (message->hwnd != window_ && !IsChild(window_, message->hwnd)) return S_FALSE;
  const int command = page::ShortcutCommand(message->wParam, Down(VK_SHIFT), Down(VK_CONTROL), Down(VK_MENU));
  if (!command || TakesText(message->hwnd)) return S_FALSE;
  HWND bar = GetDlgItem(window_, IDC_PAGE_TRANSPORT);
  if (!bar || !SendMessageW(bar, TB_ISBUTTONENABLED, command, 0)) return S_FALSE;
  SendMessageW(window_, WM_COMMAND, MAKEWPARAM(command, 0), reinterpret_cast<LPARAM>(bar));
  return S_OK;
}

// One time-display refresh at a time: the pending bit is cleared when the
// window has handled it.
HRESULT PropertyPage::PageEvent(DWORD, DWORD) noexcept {
  if (!window_ || !filter_) return S_FALSE;
  if (!filter_->TakeFlag(kPageEventPending)) return S_OK;
  if (!PostMessageW(window_, kPageTimeMessage, 0, 0)) filter_->ClearFlag(kPageEventPending);
  return S_OK;
}

// The window runs the filter's queue; the filter's change bit is the
// window's to act on from here.
HRESULT PropertyPage::FilterNotify(const QUILLET_NOTIFICATION* n) noexcept {
  if (!n) return E_POINTER;
  if (!window_ || !filter_) return S_FALSE;
  if (!filter_->TakeFlag(kQueueRunRequested)) return S_OK;
  if (!PostMessageW(window_, kPageRefreshMessage, QNOTIFY_WORD(n, 9), 0)) {
    filter_->ClearFlag(kQueueRunRequested);
    return S_OK;
  }
  filter_->ClearFlag(kTrackChanged);
  return S_OK;
}

// The factory's side: a page that cannot initialise, or that does not give
// the requested interface, is destroyed again.
HRESULT CreatePageObject(REFIID iid, void** out) noexcept {
  *out = nullptr;
  PropertyPage* page = GlobalNew<PropertyPage>();
  if (!page) return E_OUTOFMEMORY;
  if (FAILED(page->Initialize())) {
    page->Destroy(1);
    return E_NOINTERFACE;
  }
  HRESULT hr = page->QueryInterface(iid, out);
  if (FAILED(hr)) page->Destroy(1);
  return hr;
}

}  // namespace quillet
