#pragma once
// A clock that reaches up into the model: the fault the check must name.
#include "app/Ports.h"
#include "model/AppState.h"
