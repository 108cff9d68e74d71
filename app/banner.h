// Start-up banner: a borderless picture in the middle of the screen while the main dialog is
// built. A small service.
#ifndef VANTIX_BANNER_H
#define VANTIX_BANNER_H

#include <windows.h>

#define BANNER_CLASS "ZEP_BANNER"

// Registers the class, creates and shows the banner and paints it at once: no message loop runs
// while the main dialog is built.
void ShowBanner();
// Destroys the banner, once; later calls do nothing.
void HideBanner();
// The banner window; null before ShowBanner and after HideBanner.
HWND BannerWindow();
// Pure: the banner's top-left corner centred on a screen, halves rounded toward zero.
POINT BannerPosition(int screenW, int screenH, int bitmapW, int bitmapH);

#endif
