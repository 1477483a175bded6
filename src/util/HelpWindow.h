#pragma once

#include <QWidget>

class QPlainTextEdit;

// The help window: the program folder's help text in one read-only box (`Memo1`) that fills the
// window and scrolls both ways. It reads the file once, when it is made; without the file it tells
// the user so and stays empty (the main window then disables its help button). Shown without
// blocking the main window.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(const QString& programFolder, QWidget* parent = nullptr);

    // False when the help file could not be read.
    bool helpFileRead() const { return m_read; }
    QPlainTextEdit* memo() const { return m_memo; }

    // Shows the window centred on the screen, or raises it when it is already open.
    void showCentred();

private:
    QPlainTextEdit* m_memo;
    bool m_read = false;
};
