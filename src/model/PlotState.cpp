#include "model/PlotState.h"

#include <cstring>
#include <stdexcept>
#include <type_traits>

namespace {

class TWriter {
  public:
    template <typename T> void Plain(T value) {
        static_assert(std::is_trivially_copyable_v<T>);
        char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        out_.append(bytes, sizeof(T));
    }
    void Text(const std::string& text) {
        Plain(static_cast<std::uint32_t>(text.size()));
        out_ += text;
    }
    std::string Take() { return std::move(out_); }

  private:
    std::string out_;
};

class TReader {
  public:
    explicit TReader(const std::string& bytes) : bytes_(bytes) {}
    template <typename T> void Plain(T& value) {
        Need(sizeof(T));
        std::memcpy(&value, bytes_.data() + at_, sizeof(T));
        at_ += sizeof(T);
    }
    void Text(std::string& text) {
        std::uint32_t size = 0;
        Plain(size);
        Need(size);
        text.assign(bytes_, at_, size);
        at_ += size;
    }
    void End() const {
        if (at_ != bytes_.size()) throw std::invalid_argument("state: bytes left over");
    }

  private:
    void Need(std::size_t n) const {
        if (bytes_.size() - at_ < n) throw std::invalid_argument("state: too few bytes");
    }
    const std::string& bytes_;
    std::size_t at_ = 0;
};

// One list of members for both directions, so that reading can never fall
// out of step with writing.
template <typename Io, typename Calculus> void CalculusMembers(Io& io, Calculus& c) {
    io.Plain(c.First);
    io.Plain(c.Second);
    io.Plain(c.Antiderivative);
    io.Plain(c.X0);
    io.Plain(c.Y0);
}

template <typename Io, typename State> void Members(Io& io, State& s) {
    auto& in = s.Input;
    io.Plain(in.Mode);
    io.Plain(in.Coordinates);
    for (auto& formula : in.Document.Formulas)
        io.Text(formula);
    for (auto& number : in.Document.Numbers)
        io.Plain(number);
    io.Text(in.Formula);
    for (auto* flag :
         {&in.AllFormulas, &in.MinimalStep, &in.Axes, &in.Grid, &in.EqualScales, &in.Families[0],
          &in.Families[1], &in.Families[2], &in.Centre, &in.EqualRows})
        io.Plain(*flag);
    for (auto& field : s.Fields)
        io.Text(field);
    io.Text(s.X0Result);
    for (auto& colour : s.Colours.Values)
        io.Plain(colour);
    for (auto& c : s.Colouring)
        io.Plain(c);
    auto& a = s.Animation;
    io.Plain(a.FirstFrame);
    io.Plain(a.LastFrame);
    io.Plain(a.FrameInterval);
    io.Plain(a.Loop);
    io.Plain(a.CameraPath);
    io.Plain(a.ViewAlong);
    io.Plain(s.View.X1);
    io.Plain(s.View.X2);
    io.Plain(s.View.Y1);
    io.Plain(s.View.Y2);
    io.Plain(s.Legend);
    io.Plain(s.ExactGraphs);
    CalculusMembers(io, in.FormulaCalculus);
}

template <typename Io, typename Style> void StyleMembers(Io& io, Style& g) {
    io.Text(g.Formula);
    io.Plain(g.Colour);
    io.Plain(g.ColourGiven);
    io.Plain(g.Width);
    io.Plain(g.Style);
    io.Plain(g.Visible);
    io.Text(g.Name);
    CalculusMembers(io, g.Calculus);
    io.Text(g.Unknown);
}

template <typename Io, typename Parameter> void ParameterMembers(Io& io, Parameter& p) {
    io.Text(p.Name);
    for (auto* v : {&p.Value, &p.Min, &p.Max, &p.Step, &p.Speed})
        io.Plain(*v);
    io.Plain(p.Play);
    io.Text(p.Unknown);
}

} // namespace

std::string StateBytes(const TPlotState& state) {
    TWriter w;
    Members(w, state);
    w.Plain(static_cast<std::uint32_t>(state.Input.List.size()));
    for (const std::string& item : state.Input.List)
        w.Text(item);
    w.Plain(static_cast<std::uint32_t>(state.Styles.size()));
    for (const TGraphStyle& style : state.Styles)
        StyleMembers(w, style);
    w.Plain(static_cast<std::uint32_t>(state.Input.Parameters.size()));
    for (const TParameter& p : state.Input.Parameters)
        ParameterMembers(w, p);
    return w.Take();
}

TPlotState StateFromBytes(const std::string& bytes) {
    TPlotState state;
    TReader r(bytes);
    Members(r, state);
    std::uint32_t items = 0;
    r.Plain(items);
    state.Input.List.clear();
    for (std::uint32_t k = 0; k < items; ++k) {
        std::string item;
        r.Text(item);
        state.Input.List.push_back(std::move(item));
    }
    std::uint32_t styles = 0;
    r.Plain(styles);
    for (std::uint32_t k = 0; k < styles; ++k) {
        TGraphStyle style;
        StyleMembers(r, style);
        state.Styles.push_back(std::move(style));
    }
    std::uint32_t parameters = 0;
    r.Plain(parameters);
    for (std::uint32_t k = 0; k < parameters; ++k) {
        TParameter p;
        ParameterMembers(r, p);
        state.Input.Parameters.push_back(std::move(p));
    }
    r.End();
    return state;
}
