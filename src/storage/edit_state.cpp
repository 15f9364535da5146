#include "storage/edit_state.h"

#include <array>

namespace {
std::array<EditState, 5>& states()
{
    static std::array<EditState, 5> all;
    return all;
}
} // namespace

EditState& editState(Table table)
{
    return states()[static_cast<size_t>(table)];
}

void resetEditStates()
{
    states().fill(EditState{});
}
