/// @file
/// Class identifiers of the Quillet plug-in module. Fixed for the product's life.
#pragma once
#include <windows.h>

// Header-only definitions: every translation unit may include this file.
#ifndef QUILLET_GUID
#ifdef __cplusplus
#define QUILLET_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  extern "C" const GUID __declspec(selectany) name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#else
#define QUILLET_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  const GUID __declspec(selectany) name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#endif
#endif

/// The filter object: the MIDI track plug-in a host instantiates.
/// {6F1C2A43-8E57-4B19-9D3A-5C7E21B40F61}
QUILLET_GUID(CLSID_QuilletFilter, 0x6f1c2a43, 0x8e57, 0x4b19, 0x9d, 0x3a, 0x5c, 0x7e, 0x21, 0xb4, 0x0f, 0x61);
/// The filter's property page.
/// {6F1C2A44-8E57-4B19-9D3A-5C7E21B40F61}
QUILLET_GUID(CLSID_QuilletPropPage, 0x6f1c2a44, 0x8e57, 0x4b19, 0x9d, 0x3a, 0x5c, 0x7e, 0x21, 0xb4, 0x0f, 0x61);

/// CLSID_QuilletFilter as registry text
#define QUILLET_FILTER_CLSID_TEXT L"{6F1C2A43-8E57-4B19-9D3A-5C7E21B40F61}"
/// CLSID_QuilletPropPage as registry text
#define QUILLET_PROPPAGE_CLSID_TEXT L"{6F1C2A44-8E57-4B19-9D3A-5C7E21B40F61}"
/// HKEY_LOCAL_MACHINE key under which MIDI plug-ins are listed
#define QUILLET_MIDI_PLUGINS_KEY L"Software\\MIDI Plugins\\"
