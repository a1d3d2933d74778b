// The setup wizard program: its one application object.
#include "wizard/PellgroveApp.h"

CPellgroveApp theApp;
