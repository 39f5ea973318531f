// The plug-in's property pages in a property sheet of the tool's own, as a
// host shows them: the sheet is each page's site, hands keyboard messages
// to the active page first, and tells which button closed it.
#pragma once
#include <objbase.h>
#include <ocidl.h>

#include <functional>
#include <string>

namespace tool {

enum class FrameResult { Kept, Cancelled };

// Shows the pages `pages` for `object` in a modeless sheet titled for
// `title` and runs its messages until the sheet closes. `applied` runs
// each time Apply applied the pages' settings and the sheet stays open;
// OK gives Kept; Cancel, Escape and the close box give Cancelled, which
// undoes what came after the last Apply.
// Each page is made by `create` (the registered class, or the class
// object of a module the tool loaded itself).
using PageCreator = std::function<HRESULT(REFCLSID clsid, IPropertyPage** page)>;
HRESULT ShowPropertyFrame(IUnknown* object, const CAUUID& pages, const PageCreator& create, const std::wstring& title,
                          const std::function<void()>& applied, FrameResult* result);

}  // namespace tool
