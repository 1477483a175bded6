#pragma once

#include <QString>

// The object names of the comparison controls that code looks up by name, on the comparison page
// and in the cost-type window. The names are those the rules, the tests and the screenshots use.
namespace comparison::controls {

// The frame of the cycle costs, shown only for the cycle-cost types (on the page and in the
// cost-type window alike).
inline const QString kCycleCostFrame = QStringLiteral("GroupBox5");
// The label beside the economy and the period choices that shows the rate of the comparison
// sheet ("○○％向上" and the like).
inline const QString kCostRateLabel = QStringLiteral("Label119");
inline const QString kPeriodRateLabel = QStringLiteral("Label217");
// The caption "新技術のコストタイプ" before the chosen cost type.
inline const QString kCostTypeCaption = QStringLiteral("Label150");

} // namespace comparison::controls
