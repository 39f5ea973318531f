// stb_image_resize (Debian's libstb-dev), compiled for the target as a
// peer of the image-scaling benchmark; nothing without it.
#ifdef QUILLET_HAVE_STB
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>
#endif
