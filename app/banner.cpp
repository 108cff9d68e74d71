// Start-up banner. Its picture comes later; start-up already calls it in the right places.
#include "app/banner.h"

void ShowBanner()
{
}

void HideBanner()
{
}
