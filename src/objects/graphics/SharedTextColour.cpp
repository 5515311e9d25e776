#include "objects/graphics/SharedTextColour.h"

namespace {

uint32_t*& Place() {
    static uint32_t* place = nullptr;
    return place;
}

}  // namespace

void UseSharedTextColour(uint32_t* place) { Place() = place; }

void KeepTextColour(uint32_t colour) {
    if (Place()) *Place() = colour;
}
