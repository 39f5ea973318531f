// Result-code texts, operation texts, composed messages and the Win32 and
// common-dialog translations, through the module's exports.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "zq/errors.h"
#include "zq/printf.h"

namespace {

const std::wstring kGeneral = L"An error occurred during the current operation.";
const std::wstring kFailText = L"\n\nThe reason for the error could not be determined.";

std::wstring Message(LPCWSTR message, HRESULT code, LPCWSTR argument) {
  LPCWSTR text = ZqErrorHandler_GetErrorMessage(message, code, argument);
  return text ? text : L"<null>";
}

std::wstring Missing(HRESULT code) {
  wchar_t text[64];
  swprintf(text, 64, L"\n\nError 0x%08x (message missing)", static_cast<unsigned>(code));
  return text;
}

TEST(Win32Translation, ListedCodesMapAndEveryOtherCodeFails) {
  struct Case { DWORD error; HRESULT result; } listed[] = {
      {0, S_OK},           {1, E_INVALIDARG},    {2, ZQ_E_NOT_FOUND},     {3, ZQ_E_NOT_FOUND},
      {126, ZQ_E_NOT_FOUND}, {127, ZQ_E_NOT_FOUND}, {4, ZQ_E_TOO_MANY_OPEN_FILES}, {6, E_HANDLE},
      {14, E_OUTOFMEMORY}, {84, E_OUTOFMEMORY},  {15, (HRESULT)0x800404B0}, {32, ZQ_E_FILE_SHARING},
      {39, ZQ_E_DISK_FULL}, {112, ZQ_E_DISK_FULL}, {80, ZQ_E_FILE_EXISTS}, {110, ZQ_E_FILE_OPEN},
      {120, E_NOTIMPL},    {123, ZQ_E_INVALID_FILE_NAME}, {170, ZQ_E_SYSTEM_BUSY},
  };
  for (const auto& c : listed) EXPECT_EQ(ZqErrorHandler_TranslateWin32Error(c.error), c.result) << c.error;
  for (DWORD error = 0; error < 20000; ++error) {
    bool isListed = false;
    for (const auto& c : listed) isListed |= c.error == error;
    if (!isListed) {
      ASSERT_EQ(ZqErrorHandler_TranslateWin32Error(error), E_FAIL) << error;
    }
  }
  for (DWORD error : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0x80070002u})
    EXPECT_EQ(ZqErrorHandler_TranslateWin32Error(error), E_FAIL) << error;
}

TEST(CommDlgTranslation, ListedCodesMapAndEveryOtherCodeFails) {
  struct Case { DWORD error; HRESULT result; } listed[] = {
      {0, S_OK},
      {1, E_INVALIDARG}, {3, E_INVALIDARG}, {4, E_INVALIDARG}, {11, E_INVALIDARG},
      {0x3003, E_INVALIDARG}, {0x4001, E_INVALIDARG}, {0xFFFF, E_INVALIDARG},
      {2, E_OUTOFMEMORY}, {5, E_OUTOFMEMORY}, {7, E_OUTOFMEMORY}, {8, E_OUTOFMEMORY},
      {9, E_OUTOFMEMORY}, {10, E_OUTOFMEMORY}, {0x3001, E_OUTOFMEMORY},
      {6, ZQ_E_RESOURCE_MISSING}, {0x3002, ZQ_E_INVALID_FILE_NAME},
  };
  for (const auto& c : listed) EXPECT_EQ(ZqErrorHandler_TranslateCommDlgError(c.error), c.result) << c.error;
  for (DWORD error = 0; error <= 0x10010; ++error) {
    bool isListed = false;
    for (const auto& c : listed) isListed |= c.error == error;
    if (!isListed) {
      ASSERT_EQ(ZqErrorHandler_TranslateCommDlgError(error), E_FAIL) << error;
    }
  }
}

// Every code the library knows has a text that stands as its own paragraph
// (two leading line breaks), except the two texts written as questions or
// headings of their own.
TEST(ResultCodeTexts, EveryKnownCodeHasItsText) {
  const HRESULT standard[] = {E_FAIL, E_UNEXPECTED, E_INVALIDARG, E_POINTER, E_NOTIMPL, E_OUTOFMEMORY,
                              E_HANDLE, E_NOINTERFACE, REGDB_E_CLASSNOTREG, (HRESULT)0x80040037,
                              (HRESULT)0x80040964, (HRESULT)0x800404B0, (HRESULT)0x800404E0,
                              (HRESULT)0x80030070, STG_E_ACCESSDENIED, STG_E_CANTSAVE,
                              STG_E_INVALIDPOINTER, STG_E_WRITEFAULT, (HRESULT)0xC00D0BC2,
                              (HRESULT)0xC00D0BC4, (HRESULT)0xC00D0BCF, (HRESULT)0xC00D002B,
                              (HRESULT)0xC00D0BC6};
  const HRESULT own[] = {
      ZQ_E_UNSUPPORTED_MEDIA_TYPE, ZQ_E_NOT_ENABLED, ZQ_E_DISK_FULL, ZQ_E_LOW_RESOURCES,
      ZQ_E_RESOURCE_ALLOCATED, ZQ_E_SYSTEM_BUSY, ZQ_E_FILE_CREATE, ZQ_E_FILE_OPEN, ZQ_E_FILE_READ,
      ZQ_E_FILE_WRITE, ZQ_E_NOT_FOUND, ZQ_E_FILE_CORRUPT, ZQ_E_CANCELLED, ZQ_E_INVALID_FILE_NAME,
      ZQ_E_RESOURCE_MISSING, ZQ_E_CREATE_WINDOW, ZQ_E_DEVICE_DRIVER, ZQ_E_CODEC_OPEN, ZQ_E_CODEC_CONVERT,
      ZQ_E_DEVICE_NOT_AVAILABLE, ZQ_E_UNSUPPORTED_FORMAT, ZQ_E_EXCEPTION, ZQ_E_DELETE_FILE, ZQ_E_NO_AUDIO,
      ZQ_E_COMPONENT_INIT, ZQ_E_UNSUPPORTED_VERSION, ZQ_E_NO_VIDEO, ZQ_E_CODEC_OPEN_FAILED,
      ZQ_E_NO_VIDEO_CODEC, ZQ_E_RENAME_FILE, ZQ_E_NOT_ENOUGH_AUDIO, ZQ_E_FILE_MAY_BE_CORRUPT,
      ZQ_E_TOO_MANY_OPEN_FILES, ZQ_E_SAMPLE_RATE_UNSUPPORTED, ZQ_E_NO_ROOM_FOR_PLUGINS,
      ZQ_E_PLUGINS_NOT_FOR_TRACK, ZQ_E_PLUGINS_MEDIA_TYPE, ZQ_E_CHAIN_PARTLY_LOADED, ZQ_E_FILE_EXISTS,
      ZQ_E_FILE_TYPE_UNSUPPORTED, ZQ_E_RIGHTS_PROTECTED, ZQ_E_STREAM_UNRECOGNIZED, ZQ_E_STREAM_OPEN,
      ZQ_E_STREAM_CREATE, ZQ_E_STREAM_READ, ZQ_E_STREAM_WRITE, ZQ_E_RENDER_SIZE_EXCEEDED,
      ZQ_E_CODEC_RENDER_SETTINGS, ZQ_E_AUDIO_INPUT_CHANNELS, ZQ_E_FRAME_SIZE, ZQ_E_COMMAND_UNAVAILABLE,
      ZQ_E_FORMAT_PLUGIN_INIT, ZQ_E_NOT_ENOUGH_DATA, ZQ_E_FILE_IN_PROJECT, ZQ_E_READ_TOO_SLOW,
      ZQ_E_FILE_SHARING, ZQ_E_FILE_ACCESS, ZQ_E_SOURCE_PROJECT_SECURITY, ZQ_E_SOURCE_PROJECT_INFO,
      ZQ_E_SOURCE_PROJECT_MISSING, ZQ_E_MEDIA_MANAGER_INIT, ZQ_E_NO_RIFF_HEADER, ZQ_E_NO_LIST_HEADER,
      ZQ_E_ZERO_LENGTH_CHUNK, ZQ_E_FILE_NEEDS_UPDATE, ZQ_E_AUDIO_PLUGINS_MISSING,
      ZQ_E_FILE_FROM_NEWER_VERSION, ZQ_E_NO_DEVICES, ZQ_E_PLAYBACK_PREPARE_TIMEOUT, ZQ_E_MIX_TIMEOUT,
      ZQ_E_BUILD_PEAKS, ZQ_E_NO_TEMPLATE, ZQ_E_EXECUTE_COMMAND, ZQ_E_INSUFFICIENT_BANDWIDTH,
      ZQ_E_TEMPLATE_AUDIO_BITRATE, ZQ_E_INVALID_TEMPLATE, ZQ_E_TEMPLATE_PEAK_BITRATE, ZQ_E_IOCTL_FAILED,
      ZQ_E_CD_MARKERS_QUANTIZED, ZQ_E_ADMIN_REQUIRED, ZQ_E_TWAIN_INIT, ZQ_E_NO_RENDERER,
      ZQ_E_FILE_TYPE_NOT_IN_VERSION, ZQ_E_FILE_BUSY, ZQ_E_RECORDER_NOT_FOUND, ZQ_E_RECORDER_BUSY,
      ZQ_E_RECORDER_NO_DISC, ZQ_E_RECORDER_DISC_FULL, ZQ_E_RECORDER_WRITE_PROTECTED, ZQ_E_RECORDER_FORMAT,
      ZQ_E_RECORDER_INTERRUPTED, ZQ_E_RECORDER_WRITE, ZQ_E_RECORDER_DRIVER, ZQ_S_PARTLY_RECOVERED,
      ZQ_S_MEDIA_NOT_FOUND, ZQ_S_NOT_CONFIGURED, ZQ_S_NO_VIDEO_CODEC, ZQ_S_STREAM_NOT_FOUND,
      ZQ_S_SOME_STREAMS_FAILED, ZQ_S_PRESETS_NOT_LOADED, ZQ_S_FILE_RENAMED, ZQ_S_INCONSISTENT_FORMAT,
      ZQ_S_OLDER_PROJECT, ZQ_S_DIFFERENT_VERSION, ZQ_S_DEVICES_REMAPPED, ZQ_S_CONVERSION_INEXACT};
  std::vector<HRESULT> codes(std::begin(standard), std::end(standard));
  codes.insert(codes.end(), std::begin(own), std::end(own));
  EXPECT_EQ(codes.size(), 120u + 9u);
  for (HRESULT code : codes) {
    LPCWSTR text = ZqErrorHandler_GetHresultString(code);
    ASSERT_NE(text, nullptr) << std::hex << code;
    std::wstring s = text;
    ASSERT_GT(s.size(), 10u) << std::hex << code;
    bool paragraph = s.compare(0, 2, L"\n\n") == 0 && s[2] != L'\n';
    bool own = code == ZQ_E_CHAIN_PARTLY_LOADED || code == ZQ_E_INVALID_TEMPLATE;
    EXPECT_EQ(paragraph, !own) << std::hex << code;
  }
}

TEST(ResultCodeTexts, SampleTextsAndUnknownCodes) {
  struct Case { HRESULT code; const wchar_t* text; } cases[] = {
      {E_FAIL, L"\n\nThe reason for the error could not be determined."},
      {E_OUTOFMEMORY, L"\n\nThe system is low on memory. You may be able to reduce memory usage by closing other applications."},
      {ZQ_E_CANCELLED, L"\n\nThe operation was cancelled by the user."},
      {ZQ_E_CHAIN_PARTLY_LOADED, L"One or more effects in the package failed to load.\n\nDo you want to try to load the loadable effects from the chain?"},
      {ZQ_E_INVALID_TEMPLATE, L"The template is invalid."},
      {ZQ_E_FILE_BUSY, L"\n\nThe file '%s' is in use by another operation."},
      {ZQ_S_CONVERSION_INEXACT, L"\n\nCertain features contained in the older project file could not be converted exactly into the new version. As a result the project may not look or sound the same."},
      {(HRESULT)0xC00D0BC6, L"\n\nThe Windows Media profile is invalid."},
  };
  for (const auto& c : cases) {
    LPCWSTR text = ZqErrorHandler_GetHresultString(c.code);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, c.text);
  }
  for (HRESULT unknown : {S_OK, S_FALSE, (HRESULT)0x8004E0FF, (HRESULT)0x8004E013, (HRESULT)0x0004E001,
                          (HRESULT)0x80070002, (HRESULT)0xFFFFFFFF})
    EXPECT_EQ(ZqErrorHandler_GetHresultString(unknown), nullptr) << std::hex << unknown;
}

TEST(ErrorMessages, OperationAndResultTextStandAsTwoParagraphs) {
  EXPECT_EQ(Message(nullptr, E_OUTOFMEMORY, nullptr),
            kGeneral + L"\n\nThe system is low on memory. You may be able to reduce memory usage by closing "
                       L"other applications.");
  EXPECT_EQ(Message(ZQ_ERROR_OPERATION(5), E_FAIL, L"a.mid"),
            L"An error occurred while loading the project file a.mid." + kFailText);
  // An id the operation table lacks gives the general text.
  EXPECT_EQ(Message(ZQ_ERROR_OPERATION(13), E_FAIL, nullptr), kGeneral + kFailText);
  EXPECT_EQ(Message(ZQ_ERROR_OPERATION(0xFFFF), E_FAIL, nullptr), kGeneral + kFailText);
  EXPECT_EQ(Message(ZQ_ERROR_OPERATION(45), E_FAIL, L"Cut"), L"An error occurred during this command (Cut)" + kFailText);
  // Without an argument "%s" takes an empty string.
  EXPECT_EQ(Message(ZQ_ERROR_OPERATION(6), E_FAIL, nullptr),
            L"An error occurred while saving the project file ." + kFailText);
  // A text pointer is the operation text itself, formatted with the argument.
  EXPECT_EQ(Message(L"Bouncing '%s' failed.", ZQ_E_DISK_FULL, L"mix.wav"),
            L"Bouncing 'mix.wav' failed.\n\nThe disk is full. Please free some space and try again.");
  // A text with more directives than the one argument reads no further
  // arguments of its own.
  EXPECT_EQ(Message(L"%s|%s|%s", E_FAIL, L"x"), L"x||" + kFailText);
}

TEST(ErrorMessages, EveryOperationIdHasItsText) {
  const wchar_t* samples[][2] = {
      {L"1", L"An error occurred while processing the undo buffer. You should save your work immediately using a new project filename and restart $(AppName)."},
      {L"21", L"One or more audio playback devices do not support the current sample rate and/or bit-depth."},
      {L"42", L"An error occurred while initializing the Show Me component.\n\nAll Show Me functionality will be disabled."},
      {L"48", L"An error occurred initializing the Media Manager. This feature will be unavailable."},
  };
  for (const auto& s : samples)
    EXPECT_EQ(Message(ZQ_ERROR_OPERATION(_wtoi(s[0])), E_FAIL, nullptr), s[1] + kFailText) << s[0];
  for (int id = 0; id <= 50; ++id) {
    std::wstring m = Message(ZQ_ERROR_OPERATION(id), E_FAIL, nullptr);
    EXPECT_EQ(m == kGeneral + kFailText, id == 0 || id == 13) << id;
  }
}

TEST(ErrorMessages, UnknownCodeGivesTheMissingMessageText) {
  for (HRESULT code : {(HRESULT)0x8004E0FF, (HRESULT)0x00000007, (HRESULT)0xFFFFFFFF})
    EXPECT_EQ(Message(nullptr, code, nullptr), kGeneral + Missing(code));
}

TEST(ErrorMessages, ArgumentIsInsertedAsWrittenAndResultTextIsFilledIn) {
  // "%" and "$" in the argument are not directives.
  const wchar_t* name = L"C:\\Songs\\100%s $(AppName) %d%n.mid";
  EXPECT_EQ(Message(ZQ_ERROR_OPERATION(5), E_FAIL, name),
            std::wstring(L"An error occurred while loading the project file ") + name + L"." + kFailText);
  // The result text takes the same argument and the tokens.
  ASSERT_TRUE(ZqPrintF_AddToken(L"AppName", L"Tarn"));
  EXPECT_EQ(Message(ZQ_ERROR_OPERATION(26), ZQ_E_RESOURCE_MISSING, nullptr),
            L"An error occurred starting Tarn.\n\nA necessary resource is missing. You should re-install Tarn as "
            L"the application file appears to be corrupted.");
  EXPECT_EQ(Message(ZQ_ERROR_OPERATION(5), ZQ_E_FILE_BUSY, L"a%s.mid"),
            L"An error occurred while loading the project file a%s.mid.\n\nThe file 'a%s.mid' is in use by "
            L"another operation.");
  ZqPrintF_DeleteToken(L"AppName");
}

// The composed message is the start of the operation text followed by the
// result text, cut at 2,047 characters, whatever the lengths.
TEST(ErrorMessages, NeverPassesTheMessageBuffer) {
  for (int length : {0, 1, 1000, 2000, 2030, 2046, 2047, 2048, 2049, 5000, 70000}) {
    std::wstring operation(length, L'o');
    std::wstring full = operation + kFailText;
    ASSERT_EQ(Message(operation.c_str(), E_FAIL, nullptr), full.substr(0, 2047)) << length;

    // A long argument and an unknown code: some of the argument, then as much
    // of the missing-message text as fits.
    const HRESULT unknown = (HRESULT)0x8004E0FF;
    std::wstring argument(length, L'a');
    std::wstring got = Message(L"%s", unknown, argument.c_str());
    ASSERT_LE(got.size(), 2047u) << length;
    size_t k = got.find_first_not_of(L'a');
    if (k == std::wstring::npos) k = got.size();
    EXPECT_LE(k, static_cast<size_t>(length));
    std::wstring rest = got.substr(k);
    EXPECT_EQ(rest, Missing(unknown).substr(0, rest.size())) << length;
    if (got.size() < 2047) {
      EXPECT_EQ(rest, Missing(unknown)) << length;
    }
  }
}

}  // namespace
