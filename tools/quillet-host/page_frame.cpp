// A property sheet that hosts COM property pages: one sheet page per
// property page, each the site of its page, in a modeless sheet whose
// message loop lets the active page translate keys first.
#include "page_frame.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

namespace tool {
namespace {

struct Frame;

// The sheet page of one property page, and that page's site.
class PageSlot final : public IPropertyPageSite {
 public:
  PageSlot(Frame* frame, IPropertyPage* page) : frame_(frame), page_(page) {}
  ~PageSlot() { page_->Release(); }

  IPropertyPage* Page() const { return page_; }
  Frame* Owner() const { return frame_; }
  HWND window = nullptr;
  bool active = false;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyPageSite)) {
      *out = static_cast<IPropertyPageSite*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // The slot belongs to the frame; the page's references do not end it.
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }

  HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* locale) override {
    if (!locale) return E_POINTER;
    *locale = GetUserDefaultLCID();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown** container) override {
    if (container) *container = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return S_FALSE; }

 private:
  Frame* frame_;
  IPropertyPage* page_;
  ULONG refs_ = 0;
};

struct Frame {
  HWND sheet = nullptr;
  std::vector<std::unique_ptr<PageSlot>> slots;
  int applies = 0;
  bool cancelled = false;
};

HRESULT PageSlot::OnStatusChange(DWORD flags) {
  if ((flags & PROPPAGESTATUS_DIRTY) && frame_->sheet && window)
    SendMessageW(frame_->sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(window), 0);
  return S_OK;
}

INT_PTR CALLBACK SheetPageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* slot = reinterpret_cast<PageSlot*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      slot = reinterpret_cast<PageSlot*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(slot));
      slot->window = dialog;
      RECT area;
      GetClientRect(dialog, &area);
      if (SUCCEEDED(slot->Page()->Activate(dialog, &area, TRUE))) {
        slot->active = true;
        slot->Page()->Show(SW_SHOWNORMAL);
      }
      return TRUE;
    }
    case WM_SIZE:
      if (slot && slot->active) {
        RECT area = {0, 0, LOWORD(lParam), HIWORD(lParam)};
        slot->Page()->Move(&area);
      }
      return FALSE;
    case WM_NOTIFY: {
      if (!slot) return FALSE;
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == PSN_APPLY) {
        slot->Page()->Apply();
        // Apply keeps the sheet open: what was applied is kept whatever
        // closes it later. OK closes it with the settings kept.
        if (!reinterpret_cast<const PSHNOTIFY*>(lParam)->lParam) ++slot->Owner()->applies;
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
      }
      if (header->code == PSN_RESET) {
        slot->Owner()->cancelled = true;
        return TRUE;
      }
      return FALSE;
    }
    case WM_DESTROY:
      if (slot && slot->active) {
        slot->active = false;
        slot->Page()->Deactivate();
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// Dialog units of the sheet's font ("MS Shell Dlg", 8 points): what a page
// size in pixels is in its template.
SIZE DialogUnits(SIZE pixels) {
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontW(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                           L"MS Shell Dlg");
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SIZE alphabet{};
  GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  const int baseX = alphabet.cx > 0 ? (alphabet.cx / 26 + 1) / 2 : 6, baseY = metrics.tmHeight > 0 ? metrics.tmHeight : 13;
  return {MulDiv(pixels.cx, 4, baseX) + 1, MulDiv(pixels.cy, 8, baseY) + 1};
}

// An empty child template of `size` dialog units, DWORD-aligned as the
// sheet reads it.
std::vector<DWORD> PageTemplate(SIZE size) {
  std::vector<DWORD> words(16, 0);
  auto* t = reinterpret_cast<DLGTEMPLATE*>(words.data());
  t->style = WS_CHILD | WS_CLIPCHILDREN | DS_CONTROL | DS_SETFONT;
  t->cx = static_cast<short>(size.cx);
  t->cy = static_cast<short>(size.cy);
  auto* tail = reinterpret_cast<WORD*>(t + 1);
  *tail++ = 0;  // no menu
  *tail++ = 0;  // the dialog class
  *tail++ = 0;  // no title
  *tail++ = 8;  // points
  static const wchar_t kFace[] = L"MS Shell Dlg";
  for (wchar_t c : kFace) *tail++ = static_cast<WORD>(c);
  return words;
}

// The slot whose sheet page is showing.
PageSlot* ActiveSlot(const Frame& frame) {
  HWND current = reinterpret_cast<HWND>(SendMessageW(frame.sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  for (const auto& slot : frame.slots)
    if (slot->window && slot->window == current) return slot.get();
  return nullptr;
}

}  // namespace

HRESULT ShowPropertyFrame(IUnknown* object, const CAUUID& pages, const PageCreator& create, const std::wstring& title,
                          const std::function<void()>& applied, FrameResult* result) {
  if (!object || !result || !create || (pages.cElems && !pages.pElems)) return E_POINTER;
  *result = FrameResult::Cancelled;
  Frame frame;
  std::vector<std::vector<DWORD>> templates;
  std::vector<PROPSHEETPAGEW> sheetPages;
  std::vector<LPOLESTR> titles;
  HRESULT hr = S_OK;
  for (ULONG i = 0; i < pages.cElems && SUCCEEDED(hr); ++i) {
    IPropertyPage* page = nullptr;
    hr = create(pages.pElems[i], &page);
    if (FAILED(hr) || !page) {
      hr = FAILED(hr) ? hr : E_NOINTERFACE;
      break;
    }
    frame.slots.push_back(std::make_unique<PageSlot>(&frame, page));
    PageSlot* slot = frame.slots.back().get();
    hr = page->SetPageSite(slot);
    if (SUCCEEDED(hr)) hr = page->SetObjects(1, &object);
    PROPPAGEINFO info{};
    info.cb = sizeof(info);
    if (SUCCEEDED(hr)) hr = page->GetPageInfo(&info);
    if (FAILED(hr)) break;
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
    titles.push_back(info.pszTitle);
    templates.push_back(PageTemplate(DialogUnits(info.size)));
    PROPSHEETPAGEW sheetPage{};
    sheetPage.dwSize = sizeof(sheetPage);
    sheetPage.dwFlags = PSP_DLGINDIRECT | (info.pszTitle ? PSP_USETITLE : 0);
    sheetPage.pResource = reinterpret_cast<const DLGTEMPLATE*>(templates.back().data());
    sheetPage.pfnDlgProc = SheetPageProc;
    sheetPage.pszTitle = info.pszTitle;
    sheetPage.lParam = reinterpret_cast<LPARAM>(slot);
    sheetPages.push_back(sheetPage);
  }
  if (SUCCEEDED(hr) && sheetPages.empty()) hr = E_INVALIDARG;
  if (SUCCEEDED(hr)) {
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_PROPTITLE | PSH_NOCONTEXTHELP;
    header.pszCaption = title.c_str();
    header.nPages = static_cast<UINT>(sheetPages.size());
    header.ppsp = sheetPages.data();
    frame.sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
    if (!frame.sheet || frame.sheet == reinterpret_cast<HWND>(-1)) {
      frame.sheet = nullptr;
      hr = E_FAIL;
    }
  }
  if (SUCCEEDED(hr)) {
    int applies = 0;
    MSG message;
    while (SendMessageW(frame.sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) {
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got <= 0) {
        if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      bool done = false;
      if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST &&
          (message.hwnd == frame.sheet || IsChild(frame.sheet, message.hwnd))) {
        if (PageSlot* slot = ActiveSlot(frame)) done = slot->Page()->TranslateAccelerator(&message) == S_OK;
      }
      if (!done && !SendMessageW(frame.sheet, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&message))) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      if (frame.applies != applies) {
        applies = frame.applies;
        if (applied) applied();
      }
    }
    *result = frame.cancelled ? FrameResult::Cancelled : FrameResult::Kept;
    DestroyWindow(frame.sheet);
  }
  for (auto& slot : frame.slots) {
    slot->Page()->SetObjects(0, nullptr);
    slot->Page()->SetPageSite(nullptr);
  }
  frame.slots.clear();
  for (LPOLESTR t : titles) CoTaskMemFree(t);
  return hr;
}

}  // namespace tool
