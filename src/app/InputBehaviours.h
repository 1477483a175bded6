#pragma once

#include "util/InputRules.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>

class QLineEdit;
class QWidget;

namespace store {
class Table;
}

namespace app {

// The control lists of the shared entry behaviours, by control name: one list per behaviour; the
// behaviours find the controls by objectName.

// Boxes whose change marks the registration as changed in a new registration (markChangedWhenNew).
extern const QStringList kMarkChangedWhenNewBoxes;
// The comparison and free-item radio groups among them.
extern const QStringList kComparisonRadioGroups;
// The seven construction-result counts.
extern const QStringList kResultCountBoxes;
// Check boxes and radio buttons whose click runs markChangedWhenNew.
extern const QStringList kKeywordAndAimCheckBoxes;
extern const QStringList kPatentFlagButtons;
// Boxes whose change always marks the registration as changed (markChanged), and the list
// whose click does.
extern const QStringList kMarkChangedBoxes;
extern const QStringList kMarkChangedClicks;
extern const QStringList kPostCodeBoxes;
extern const QStringList kDescriptionMemos;
extern const QStringList kPatentNumberMemos;
extern const QStringList kConditionTextMemos;
// Every memo with a byte limit: the description memos, the summary, the patent numbers and the
// condition texts.
extern const QStringList kLimitedMemos;
// Key filters.
extern const QStringList kDigitOnlyBoxes;      // digits only: the development year, the post codes
extern const QStringList kPhoneNumberBoxes;    // digits, "(", ")", "+" and "-"
extern const QStringList kNumberBoxes;         // numbers: no "-" and no "e" typed
extern const QStringList kHeadingCountBoxes;   // heading counts: 0 to 3, no backspace
extern const QStringList kChoiceOnlyLists;     // lists that are chosen from, never typed in
// Leaving a box.
extern const QStringList kConvertOnLeavingBoxes;
extern const QStringList kConvertKeepingSaveStateBoxes;
extern const QStringList kRoundValueBoxes;
extern const QStringList kRoundValueSPBoxes;
extern const QStringList kRoundValueDownBoxes;

// What the behaviours need from the main window.
struct EditingHooks
{
    std::function<void()> markModified;
    std::function<bool()> isNewMode;       // the mode is "新規"
    std::function<bool()> isSaveEnabled;   // the save button's enabled state
    std::function<void(bool)> setSaveEnabled;
    std::function<void()> putDetailInEdit; // NT_TBL_DETAIL into edit state (the post-code boxes are unbound)
    std::function<void()> judgeOtherRadioCondition; // the free-item condition, after a free-item title changed
    std::function<store::Table*(const QString& name)> table; // a table of the data module by name
};

// The entry behaviours shared by the controls of the entry pages: change marking, key filters,
// the blank rule, the width conversion on leaving, the memo clean-up and the number clean-up.
// attach() wires them to the controls named in the lists; the handlers are public so that the
// main window can run them where the same handling is needed outside a control's own events.
class InputBehaviours : public QObject
{
    Q_OBJECT

public:
    explicit InputBehaviours(EditingHooks hooks, QObject* parent = nullptr);

    // Attaches every behaviour to the controls below `root` named in the lists, and Enter-moves-focus
    // to every line edit below it. Returns the listed names that no control carries.
    QStringList attach(QWidget* root);

    // True while a post-code box has the focus.
    bool postCodeFocus() const { return m_postCodeFocus; }

    void markChangedWhenNew(QWidget* control);
    void markChanged(QWidget* control);
    void postCodeChanged(QWidget* control);
    // The handlers run when a box is left; each answers true when it had to tell the user
    // something (a text cut to its limit, a number that is none).
    bool convertOnLeaving(QWidget* control);
    bool convertOnLeavingKeepingSaveState(QWidget* control);
    // Memo clean-up with the memo's limit, when its condition holds.
    bool cleanUpDescriptionOnLeaving(QWidget* memo);
    bool cleanUpPatentMemoOnLeaving(QWidget* memo);
    bool cleanUpShortMemoOnLeaving(QWidget* memo);
    bool RoundValue(QWidget* box) { return cleanUpNumber(box, inputrules::Rounding::TwoDecimals); }
    bool RoundValueSP(QWidget* box) { return cleanUpNumber(box, inputrules::Rounding::TwoDecimalsKeepEmpty); }
    bool RoundValueDown(QWidget* box) { return cleanUpNumber(box, inputrules::Rounding::WholeNumber); }

    // Runs what leaving `control` runs, for a save that is made while it still has the focus; true
    // when the user was told something (the save then waits for the user).
    bool leaveControl(QWidget* control);
    // The byte limit of an entry-page memo by its name (0: none).
    static int memoLimit(const QString& name);
    // The first memo below `root` whose text is longer than its limit, or null.
    QWidget* memoOverLimit(QWidget* root) const;
    // Cuts a memo to its limit with the limit's message and gives it the focus; true when cut.
    bool cutMemoToItsLimit(QWidget* memo);
    // Prepares a result-count box when a registration is opened: empty becomes "0".
    void BeginningWork(QWidget* box);

private:
    void onChange(QWidget* control, const std::function<void()>& handler);
    void onClick(QWidget* control, const std::function<void()>& handler);
    // Runs `handler` when the control is left, and keeps it for leaveControl().
    void onExit(QWidget* control, const std::function<bool()>& handler);
    bool tableEditing(const QString& name, QWidget* control) const;
    bool cleanUpNumber(QWidget* box, inputrules::Rounding rounding);

    EditingHooks m_hooks;
    QHash<QWidget*, QList<std::function<bool()>>> m_exits;
    bool m_postCodeFocus = false;
};

} // namespace app
