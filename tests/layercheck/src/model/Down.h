#pragma once
// Includes of its own layer, the one below and a folder that is no layer: allowed.
#include "app/Clock.h"
#include "model/Image.h"
#include "qt/Window.h"
