#include "objects/ObjectList.h"

void UpdateAll(const std::list<CBaseObj*>& objects) {
    for (CBaseObj* obj : objects) {
        if (obj != nullptr) obj->Update();
    }
}

void ResetAll(const std::list<CBaseObj*>& objects) {
    for (CBaseObj* obj : objects) {
        if (obj != nullptr) obj->Reset();
    }
}
