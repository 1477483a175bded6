#pragma once

#include <QObject>

class QWidget;

namespace store {
class DataModule;
}

namespace comparison {

class CompareSheetDialog;
class NewTechnologyBreakdownDialog;
class OldTechnologyBreakdownDialog;
class CostTypeDialog;

// The comparison controls of the main window's comparison page and the windows behind them: the
// gate of the conventional technology's name, the sheet button and its results (rates and their
// directions), the cost type, and the free comparison items. The windows live for the whole run.
class ComparisonPageWidget : public QObject
{
    Q_OBJECT

public:
    // `window` is the main window holding the page's controls (found by name).
    ComparisonPageWidget(QWidget* window, store::DataModule& dm);
    // The windows go with it: they show the data module's tables, which must outlive them.
    ~ComparisonPageWidget() override;

    CompareSheetDialog* sheet() const { return m_sheet; }
    NewTechnologyBreakdownDialog* newDialog() const { return m_newDialog; }
    OldTechnologyBreakdownDialog* oldDialog() const { return m_oldDialog; }
    CostTypeDialog* costTypeWindow() const { return m_costType; }

    void showComparisonSheet();
    void GetCmpTitle();
    void conventionalTitleChanged();
    void showCostTypes();
    // Shows a rate box's text on the main window: the label and the direction group.
    void mirrorRate(const QString& rateBox, const QString& text);
    void JudgeOtherRadioCondition();

    // The editing cycle: a new registration starts with both totals "0"; an opened one gets its
    // totals from its breakdown rows and its period rate recomputed; then the name of its cost type
    // and the gate are shown.
    void registrationCreated();
    void registrationOpened();
    void showCostType();

signals:
    // The comparison sheet was confirmed with changed figures: the registration has changes to
    // save (the rates it stores come from the main window's labels).
    void registrationChanged();

private:
    template <typename T = QWidget>
    T* control(const QString& name) const;
    QString text(const QString& name) const;

    QWidget* m_window;
    store::DataModule& m_dm;
    NewTechnologyBreakdownDialog* m_newDialog;
    OldTechnologyBreakdownDialog* m_oldDialog;
    CompareSheetDialog* m_sheet;
    CostTypeDialog* m_costType;
};

} // namespace comparison
