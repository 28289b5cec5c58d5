// The words for what a formula's diagnosis found and why the text
// evaluator said "Error!", in the language of the window.
#pragma once

#include "engine/Diagnosis.h"
#include "engine/Engine.h"

#include <QCoreApplication>
#include <QString>

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
