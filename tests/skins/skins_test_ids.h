// Resource ids of the skins tests' own resources.
#pragma once
#define IDR_EXTRACT 401
#define IDR_EMPTY   402
