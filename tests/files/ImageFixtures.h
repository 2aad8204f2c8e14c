#pragma once
#include "Fixtures.h"  // kept for the areas that include this name
