#pragma once

class QKeyEvent;
class QString;
class QWidget;

// The rules of the entry boxes that the main window's pages and the dialogs share: the blank rule
// while typing, the width conversion on leaving a box, the memo clean-up, and Enter moving on.
namespace widgets {

class FieldLink;

// The field link of a data-aware box or memo, or null for any other control.
FieldLink* fieldLinkOf(QWidget* control);

// The blank rule on a control's text (a line edit or a memo): two blanks in a row become one, the
// cursor kept where the user was typing. Nothing happens for a missing control or a text without two
// blanks in a row. True when the text was changed.
bool removeDoubleBlanks(QWidget* control);
bool removeDoubleBlanks(QWidget* root, const QString& name);

// The memo clean-up on a memo; over its limit the text is cut, the user told and the focus given
// back to the memo. True when the text was cut.
bool cleanUpMemoText(QWidget* memo, int limitBytes, bool cursorToStart = false);

// The width conversion of a box being left: a plain box always, a bound one only while its table
// is being edited or inserted. Converted text that no longer fits the box is cut with the limit's
// message and the box keeps the focus; true then.
bool convertWidthOnExit(QWidget* box);

// The Enter key moves the focus to the next control in tab order, in every line edit below `root`
// (not those that belong to a list or a spin box).
void attachEnterMovesFocus(QWidget* root);
bool isEnterKey(const QKeyEvent* event);

// A refused control takes the focus so that the user corrects it at once: the text of a line
// edit (or of an editable list) is selected, so that typing replaces it; a memo keeps its text and
// cursor as they are, since one key would otherwise replace a whole page.
void focusForCorrection(QWidget* control);
// A control being left takes the focus back, as focusForCorrection gives it, once the focus change
// under way is over.
void giveFocusBack(QWidget* control);

} // namespace widgets
