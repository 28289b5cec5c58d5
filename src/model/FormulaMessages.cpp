#include "model/FormulaMessages.h"
#include "model/Parameters.h"

#include "model/ModeLayout.h"

#include <QCoreApplication>

#include <QStringList>
#include <algorithm>

namespace {

QString Typed(const std::string& text) {
    return QString::fromStdString(text);
}

// "позиция 3" for one character, "позиция 1–3" for more.
QString Where(const std::string& text, const TDiagnosis& d) {
    (void)text;
    const TCharSpan span = d.Chars;
    if (span.Last <= span.First) return TFormulaMessages::tr("позиция %1").arg(span.First);
    return TFormulaMessages::tr("позиция %1–%2").arg(span.First).arg(span.Last);
}

QString EmptyOperandMessage(const std::string& text, const TDiagnosis& d) {
    const QString where = Where(text, d);
    switch (d.Detail) {
    case TDiagnosisDetail::OperandBefore:
        return TFormulaMessages::tr("Перед «%1» нет операнда (%2)").arg(Typed(d.Text), where);
    case TDiagnosisDetail::OperandAfter:
        return TFormulaMessages::tr("После «%1» нет операнда (%2)").arg(Typed(d.Text), where);
    case TDiagnosisDetail::NoArgument:
        return TFormulaMessages::tr("У функции «%1» нет аргумента (%2)").arg(Typed(d.Text), where);
    default:
        return TFormulaMessages::tr("Пустые скобки (%1)").arg(where);
    }
}

QString UnknownNameMessage(const std::string& text, const TDiagnosis& d) {
    if (d.Detail == TDiagnosisDetail::ImplicitProduct) {
        const QString hint = Typed(d.Hint);
        const qsizetype star = hint.indexOf(QLatin1Char('*'));
        const bool number = !d.Text.empty() && d.Text[0] >= '0' && d.Text[0] <= '9';
        if (number && star > 0)
            return TFormulaMessages::tr("Между числом и %1 нужен знак *: %2")
                .arg(hint.mid(star + 1), hint);
        return TFormulaMessages::tr("Между множителями нужен знак *: %1").arg(hint);
    }
    if (d.Detail == TDiagnosisDetail::FieldsOnly)
        return TFormulaMessages::tr("«%1» — случайное число только в числовых полях; в формуле "
                                    "графика это неизвестное имя, и оно равно 0 (%2). В графике "
                                    "случайные числа даёт rand(n)")
            .arg(Typed(d.Text), Where(text, d));
    if (d.Detail == TDiagnosisDetail::FunctionName)
        return TFormulaMessages::tr("Неизвестная функция «%1» (%2)")
            .arg(Typed(d.Text), Where(text, d));
    return TFormulaMessages::tr("Неизвестное имя «%1» (%2)").arg(Typed(d.Text), Where(text, d));
}

// The message of one place.
QString PlaceMessage(const std::string& text, const TDiagnosis& d);

} // namespace

QString DiagnosisMessage(const std::string& text, const TDiagnosis& d) {
    const QString message = PlaceMessage(text, d);
    if (d.Count <= 1) return message;
    return TFormulaMessages::tr("%1, %2 раз подряд").arg(message).arg(d.Count);
}

namespace {
QString PlaceMessage(const std::string& text, const TDiagnosis& d) {
    switch (d.Kind) {
    case TDiagnosisKind::UnknownName:
        return UnknownNameMessage(text, d);
    case TDiagnosisKind::MissingBracket:
        return TFormulaMessages::tr("Не хватает «)» к скобке (%1)").arg(Where(text, d));
    case TDiagnosisKind::ExtraBracket:
        return TFormulaMessages::tr("Лишняя «)» (%1)").arg(Where(text, d));
    case TDiagnosisKind::EmptyOperand:
        return EmptyOperandMessage(text, d);
    case TDiagnosisKind::StrayCharacter:
        return TFormulaMessages::tr("Знака «%1» нет в языке формул (%2)")
            .arg(Typed(d.Text), Where(text, d));
    case TDiagnosisKind::Space:
        return TFormulaMessages::tr("Пробел в формуле (%1): в языке формул пробелов нет")
            .arg(Where(text, d));
    case TDiagnosisKind::Number:
        if (d.Detail == TDiagnosisDetail::Exponent)
            return TFormulaMessages::tr("Порядок через E не понимается: вместо «%1» пишите %2")
                .arg(Typed(d.Text), Typed(d.Hint));
        return TFormulaMessages::tr("Число «%1» не читается (%2)")
            .arg(Typed(d.Text), Where(text, d));
    case TDiagnosisKind::TooDeep:
        return TFormulaMessages::tr(
                   "Слишком глубокая вложенность (%1): дальше формула считается нулём")
            .arg(Where(text, d));
    case TDiagnosisKind::RelationChain:
        return TFormulaMessages::tr("Второй знак сравнения «%1» (%2): цепочки сравнений не "
                                    "рисуются, оставьте один знак")
            .arg(Typed(d.Text), Where(text, d));
    case TDiagnosisKind::RandomInRelation:
        return TFormulaMessages::tr("Случайные числа в отношении (%1): у отношения должен быть "
                                    "один ответ")
            .arg(Where(text, d));
    }
    return {};
}

} // namespace

QString DiagnosisHintText(const TDiagnosis& d) {
    if (d.Hint.empty()) return {};
    if (d.Kind == TDiagnosisKind::UnknownName && d.Detail != TDiagnosisDetail::ImplicitProduct &&
        d.Detail != TDiagnosisDetail::FieldsOnly)
        return TFormulaMessages::tr("Может быть, «%1»?").arg(Typed(d.Hint));
    if (d.Kind == TDiagnosisKind::StrayCharacter)
        return TFormulaMessages::tr("Вместо него пишут «%1».").arg(Typed(d.Hint));
    return {};
}

QString DiagnosisExplanation(const std::string& text, const std::vector<TDiagnosis>& found) {
    QStringList lines;
    for (const TDiagnosis& d : found) {
        QString line = DiagnosisMessage(text, d);
        const QString hint = DiagnosisHintText(d);
        if (!hint.isEmpty()) line += QLatin1Char(' ') + hint;
        if (d.Kind == TDiagnosisKind::UnknownName && d.Detail == TDiagnosisDetail::None &&
            ParameterNameFault(d.Text, {}) == TParameterNameFault::None)
            line += QLatin1Char(' ') +
                    TFormulaMessages::tr("Или это параметр: «Добавить параметр «%1»» справа в "
                                         "строке состояния.")
                        .arg(QString::fromStdString(d.Text));
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

QString TextFaultMessage(const std::string& text, const TTextFaultInfo& fault) {
    const QString where = Typed(fault.Text);
    switch (fault.Kind) {
    case TTextFault::None:
        return {};
    case TTextFault::Unknown: {
        const std::vector<TDiagnosis> found = Diagnose(text);
        if (!found.empty()) return DiagnosisMessage(text, found.front());
        if (fault.Text.size() == 1)
            return TFormulaMessages::tr(
                       "Переменная %1 здесь не определена: значение считается только от x и f")
                .arg(where.toLower());
        return TFormulaMessages::tr("Неизвестное имя «%1»").arg(where);
    }
    case TTextFault::SquareRoot:
        return TFormulaMessages::tr("Корень из отрицательного числа: %1").arg(where);
    case TTextFault::Logarithm:
        return TFormulaMessages::tr("Логарифм числа, не большего нуля: %1").arg(where);
    case TTextFault::ArcRange:
        return TFormulaMessages::tr("Арксинус или арккосинус числа вне отрезка [-1; 1]: %1")
            .arg(where);
    case TTextFault::DivisionByZero:
        return TFormulaMessages::tr("Деление на ноль: %1").arg(where);
    case TTextFault::ZeroPower:
        return TFormulaMessages::tr("Ноль в отрицательной степени: %1").arg(where);
    case TTextFault::NegativeBase:
        return TFormulaMessages::tr("Отрицательное число в дробной степени: %1").arg(where);
    case TTextFault::TooDeep:
        return TFormulaMessages::tr("Формула вложена слишком глубоко");
    case TTextFault::TooLong:
        return TFormulaMessages::tr("Формула слишком сложна, чтобы сосчитать её здесь");
    }
    return {};
}

std::vector<std::pair<TMessage, std::string>> BuiltFormulas(const TPlotInput& input,
                                                            const TMessage& boxCaption) {
    std::vector<std::pair<TMessage, std::string>> formulas;
    if (input.Mode == pmYx) {
        if (input.AllFormulas) {
            for (size_t k = 0; k < input.List.size(); ++k)
                formulas.emplace_back(
                    [k] {
                        return QCoreApplication::translate("TForm1", "Формула %1 списка")
                            .arg(k + 1);
                    },
                    input.List[k]);
        } else {
            formulas.emplace_back(boxCaption, input.Formula);
        }
    } else {
        for (const TDocValue& v : ValuesOfMode(input.Mode, input.Coordinates))
            if (v.IsFormula)
                formulas.emplace_back(
                    [slot = v.Index] { return QString::fromStdString(FormulaCaption(slot)); },
                    input.Document.Formulas[v.Index]);
    }
    return formulas;
}

std::vector<std::string> ParameterCandidates(const TPlotInput& input) {
    std::vector<std::string> names;
    for (const auto& [caption, text] : BuiltFormulas(input, {}))
        for (const TDiagnosis& d : Diagnose(text, input.Mode == pmYx))
            if (d.Kind == TDiagnosisKind::UnknownName && d.Detail == TDiagnosisDetail::None &&
                ParameterNameFault(d.Text, input.Parameters) == TParameterNameFault::None &&
                std::find(names.begin(), names.end(), d.Text) == names.end())
                names.push_back(d.Text);
    return names;
}

TMessage FirstDiagnosis(const TPlotInput& input, const TMessage& boxCaption) {
    for (const auto& [caption, text] : BuiltFormulas(input, boxCaption)) {
        const std::vector<TDiagnosis> found = Diagnose(text, input.Mode == pmYx);
        if (!found.empty())
            return [caption, text, d = found.front()] {
                return caption() + QLatin1Char(' ') + DiagnosisMessage(text, d);
            };
    }
    return {};
}
