#include "model/Parameters.h"

#include "engine/Engine.h"
#include "model/Commands.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <stdexcept>

TParameterNameFault ParameterNameFault(const std::string& name,
                                       const std::vector<TParameter>& defined) {
    if (!HasParameterNameForm(name)) return TParameterNameFault::Form;
    if (NameTakenByLanguage(name)) return TParameterNameFault::Taken;
    const std::string upper = UpperParameterName(name);
    for (const TParameter& p : defined)
        if (UpperParameterName(p.Name) == upper) return TParameterNameFault::Twice;
    return TParameterNameFault::None;
}

QString ParameterNameMessage(TParameterNameFault fault, const std::string& name) {
    const QString n = QString::fromStdString(name);
    switch (fault) {
    case TParameterNameFault::Form:
        return QCoreApplication::translate("Parameters",
                                           "«%1» не имя параметра: латинские буквы и цифры, "
                                           "первой — буква, не больше 32.")
            .arg(n);
    case TParameterNameFault::Taken:
        return QCoreApplication::translate(
                   "Parameters", "«%1» — имя, которое формулы уже читают иначе: параметром оно "
                                 "быть не может.")
            .arg(n);
    case TParameterNameFault::Twice:
        return QCoreApplication::translate("Parameters", "Параметр «%1» уже есть.").arg(n);
    case TParameterNameFault::None:
        break;
    }
    return {};
}

TParameter NewParameter(const std::string& name) {
    TParameter p;
    p.Name = name;
    return p;
}

void ApplyParameters(const std::vector<TParameter>& parameters) {
    std::vector<std::string> names;
    for (const TParameter& p : parameters) {
        if (std::ssize(names) == MaxParameters) break;
        if (NameTakenByLanguage(p.Name)) continue;
        MainContext.P[names.size()] = p.Value;
        names.push_back(UpperParameterName(p.Name));
    }
    SetParameterNames(names);
}

TParameterSetting ParameterSettingOf(const QString& text) {
    const qsizetype at = text.indexOf(QLatin1Char('='));
    if (at <= 0)
        UsageError(
            QCoreApplication::translate("Parameters", "--set ждёт ИМЯ=ЗНАЧЕНИЕ, например a=2."));
    return {text.left(at).trimmed().toStdString(), text.mid(at + 1).trimmed().toStdString()};
}

std::vector<TParameter> WithSettings(std::vector<TParameter> parameters,
                                     const std::vector<TParameterSetting>& settings) {
    for (const TParameterSetting& s : settings) {
        const std::string upper = UpperParameterName(s.Name);
        auto found = std::find_if(parameters.begin(), parameters.end(), [&](const TParameter& p) {
            return UpperParameterName(p.Name) == upper;
        });
        if (found == parameters.end()) {
            const TParameterNameFault fault = ParameterNameFault(s.Name, parameters);
            if (fault != TParameterNameFault::None)
                throw std::runtime_error(QStringLiteral("--set: %1")
                                             .arg(ParameterNameMessage(fault, s.Name))
                                             .toStdString());
            parameters.push_back(NewParameter(s.Name));
            found = parameters.end() - 1;
        }
        // A formula of the parameters before it, as a numeric field reads one.
        ApplyParameters(parameters);
        std::optional<double> v;
        try {
            v = FieldNumberValue(UpperCaseFormula(s.Value));
        } catch (const ConversionError&) {
        }
        if (!v || !std::isfinite(*v))
            throw std::runtime_error(
                QCoreApplication::translate("Parameters",
                                            "--set %1: «%2» не число и не формула других "
                                            "параметров.")
                    .arg(QString::fromStdString(s.Name), QString::fromStdString(s.Value))
                    .toStdString());
        found->Value = *v;
    }
    return parameters;
}

int SliderPositions(const TParameter& p) {
    const double n = std::ceil((p.Max - p.Min) / p.Step - 1e-9);
    return static_cast<int>(std::clamp(n, 1.0, 100000.0));
}

int SliderPosition(const TParameter& p, double value) {
    const double k = std::round((value - p.Min) / (p.Max - p.Min) * SliderPositions(p));
    return static_cast<int>(
        std::clamp(std::isnan(k) ? 0.0 : k, 0.0, static_cast<double>(SliderPositions(p))));
}

double SliderValue(const TParameter& p, int position) {
    if (position >= SliderPositions(p)) return p.Max;
    // In 80 bits, so that min + k step is the nearest double to the exact value.
    const long double v = static_cast<long double>(p.Min) +
                          static_cast<long double>(position) * (p.Max - p.Min) / SliderPositions(p);
    return static_cast<double>(v);
}

bool AdvancePlay(const TParameter& p, TPlayer& player) {
    const int last = SliderPositions(p);
    switch (p.Play) {
    case TPlay::Once:
        if (player.Position >= last) return false;
        ++player.Position;
        return true;
    case TPlay::Bounce:
        if (player.Position >= last) player.Direction = -1;
        if (player.Position <= 0) player.Direction = 1;
        player.Position = std::clamp(player.Position + player.Direction, 0, last);
        return true;
    case TPlay::Loop:
    case TPlay::None:
        break;
    }
    player.Position = player.Position >= last ? 0 : player.Position + 1;
    return true;
}

namespace {
std::vector<TParameterSetting>& Settings() {
    static std::vector<TParameterSetting> settings;
    return settings;
}
} // namespace

void SetCommandSettings(const std::vector<TParameterSetting>& settings) {
    Settings() = settings;
}

const std::vector<TParameterSetting>& CommandSettings() {
    return Settings();
}
