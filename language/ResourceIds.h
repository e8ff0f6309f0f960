/* The resource IDs of the language library QVTDX5DL.DLL: dialog templates with their controls,
   strings, bitmaps and icons. The library's resource scripts and the dialog library both include
   this header, so it holds nothing but #define lines the resource compiler understands. */
#ifndef QV_RESOURCE_IDS_H
#define QV_RESOURCE_IDS_H

#include "ids/Templates.h"
#include "ids/Strings.h"
#include "ids/Pictures.h"

#endif
