// The words for what a formula's diagnosis found and why the text
// evaluator said "Error!", in the language of the window.
#pragma once

#include "document/PlotInput.h"
#include "engine/Diagnosis.h"
#include "engine/Engine.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <string>
#include <vector>

// The context of these texts in the translations.
class TFormulaMessages {
    Q_DECLARE_TR_FUNCTIONS(TFormulaMessages)
};

// "Неизвестное имя «abc» (позиция 1–3)", and what was probably meant.
QString DiagnosisMessage(const std::string& text, const TDiagnosis& d);
// "Может быть, «sin»?" or empty.
QString DiagnosisHintText(const TDiagnosis& d);
// Every diagnosis of a field, one per line, with its hint: the tooltip.
QString DiagnosisExplanation(const std::string& text, const std::vector<TDiagnosis>& found);

// Why the text evaluator failed on `text` (as typed): the formula's first
// diagnosis where it has one, otherwise the fault the evaluator met.
QString TextFaultMessage(const std::string& text, const TTextFaultInfo& fault);

// A message made in the language of the moment it is shown.
using TMessage = std::function<QString()>;

// The first place that the formulas a build of `input` takes hold and the
// compiler does not understand, told after its formula's caption ("Формула
// 2 списка", "x(t)=", or `boxCaption` for the formula box); empty when
// every formula is understood.
TMessage FirstDiagnosis(const TPlotInput& input, const TMessage& boxCaption);
// The formulas a build of `input` takes, each with the caption of its place.
std::vector<std::pair<TMessage, std::string>> BuiltFormulas(const TPlotInput& input,
                                                            const TMessage& boxCaption);
// The unknown names of those formulas that could be parameters, each once,
// in their order: what the window offers to add ("Добавить параметр «a»").
std::vector<std::string> ParameterCandidates(const TPlotInput& input);
