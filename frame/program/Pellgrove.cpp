// The setup wizard program: its one application object.
#include "frame/PellgroveApp.h"

CPellgroveApp theApp;
