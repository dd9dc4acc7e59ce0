// Resource ids shared by the .rc files and the code. Plain #defines so that
// windres can read them too.
#ifndef QUORBEL_RESOURCE_IDS_H
#define QUORBEL_RESOURCE_IDS_H

#define IDI_QUORBEL 100
#define IDD_CONFIG 2003
/* The sprite sheet is the bitmap resource named LIFE9DIB. */

#endif
