// Helpers for scenes that keep their objects in a list.
#pragma once

#include <list>

#include "objects/BaseObj.h"

// Update() on every object, in list order.
void UpdateAll(const std::list<CBaseObj*>& objects);
// Reset() on every object, in list order.
void ResetAll(const std::list<CBaseObj*>& objects);
