// Ids of the error handler's strings (src/errors/errors.rc). The result-code
// texts are 48000-48109, 48435-48447, 49037-49053; the operation texts
// 48110-48154, 48439, 48559, 49036, 49038, 49039, 49052.
#pragma once

#define IDS_ERR_OPERATION_GENERAL  48110  // "An error occurred during the current operation."
#define IDS_ERR_MESSAGE_MISSING    48327  // "\n\nError 0x%08x (message missing)"
#define IDS_ERR_WARNING_PREFIX     48328  // "Warning: "
