#pragma once

#include "util/UserInteraction.h"

// A question whose two answers carry their own texts ("復元する", "破棄する"). An interaction that
// can show such a box implements this beside UserInteraction; with any other the question is asked
// with Yes and No.
class ChoiceQuestion
{
public:
    virtual ~ChoiceQuestion() = default;
    // Yes for the first answer, No for the second (closing the box answers No).
    virtual UserInteraction::Button choose(UserInteraction::Icon icon, const QString& caption, const QString& text, const QString& yesText,
                                           const QString& noText) = 0;

    // Asks through the current interaction.
    static UserInteraction::Button ask(UserInteraction::Icon icon, const QString& caption, const QString& text, const QString& yesText,
                                       const QString& noText)
    {
        UserInteraction& interaction = UserInteraction::current();
        if (auto* chooser = dynamic_cast<ChoiceQuestion*>(&interaction))
            return chooser->choose(icon, caption, text, yesText, noText);
        return interaction.message(icon, caption, text, UserInteraction::Buttons(UserInteraction::Yes) | UserInteraction::No);
    }
};
