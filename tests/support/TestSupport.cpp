// Anchors the support library (its helpers are header-only for now).
#include "TestSupport.h"
