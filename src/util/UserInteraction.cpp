#include "util/UserInteraction.h"

namespace {
UserInteraction* g_current = nullptr;
}

UserInteraction* UserInteraction::current()
{
    return g_current;
}

void UserInteraction::setCurrent(UserInteraction* interaction)
{
    g_current = interaction;
}
