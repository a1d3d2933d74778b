// The setup guide program: its one application object.
#include "guide/GuideApp.h"

CPellgroveApp theApp;
