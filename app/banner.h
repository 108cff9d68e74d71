// Start-up banner shown while the main dialog is built.
#ifndef VANTIX_BANNER_H
#define VANTIX_BANNER_H

void ShowBanner();
void HideBanner();

#endif
