// Resource ids of the plug-in's own resources.
#pragma once

#define IDS_REGISTRATION_NAME 1000
