// Damaged and foreign plot files opened through the main window, and saves
// that fail at each step: the window either takes the file or refuses it
// with one message, and a failed save leaves the earlier file as it was.
#include "FilesTestSupport.h"

#include <climits>
#include <cstring>

#include "SaveFaults.h"
#include "document/PlotFile.h"

#include <QRegularExpression>

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t ModeAt = 12;
constexpr std::size_t X0At = 16;
constexpr std::size_t NumbersAt = 2256;
constexpr const char* NotANumberMessage = "В файле были значения, которые не являются числами; "
                                          "вместо них взяты значения по умолчанию.";

// What opening a file may change in the window.
struct TWindowState {
    TPlotDocument Document;
    int Mode;
    std::string Box, Result;
    int BoxItems;
    bool All, Cartesian;
    int First, Last, Interval;

    bool operator==(const TWindowState& o) const {
        for (int k = 0; k < DocumentNumberCount; ++k)
            if (std::bit_cast<std::uint64_t>(Document.Numbers[k]) !=
                std::bit_cast<std::uint64_t>(o.Document.Numbers[k]))
                return false;
        for (int k = 0; k < DocumentFormulaCount; ++k)
            if (Document.Formulas[k] != o.Document.Formulas[k]) return false;
        return std::tie(Mode, Box, Result, BoxItems, All, Cartesian, First, Last, Interval) ==
               std::tie(o.Mode, o.Box, o.Result, o.BoxItems, o.All, o.Cartesian, o.First, o.Last,
                        o.Interval);
    }
};

class HostileFiles : public Files {
  protected:
    TWindowState State() const {
        return {PlotDocument,
                form->CurrentPlotMode(),
                form->ComboBox1->currentText().toStdString(),
                form->Label1->text().toStdString(),
                form->ComboBox1->count(),
                form->CheckBox1->isChecked(),
                form->RadioButton1->isChecked(),
                FirstFrame,
                LastFrame,
                FrameInterval};
    }
    // A file saved from a window that differs from the start in every part
    // a file holds; the window is then back in its start state.
    std::vector<std::uint8_t> SavedFile() {
        form->N3DFxyzClick();
        Type(form->EditN(7), "x^2+y^2-z");
        form->CaptureDocument();
        for (const char* f : {"sin(x)", "x*x"}) {
            form->N2DyxClick();
            form->ComboBox1->setEditText(f);
            form->Button5Click();
        }
        form->CheckBox1->setChecked(true);
        FirstFrame = 3;
        form->N3DFxyzClick();
        Save("full.mth");
        EXPECT_TRUE(failures.empty());
        form->N2DyxClick();
        form->Button7Click();
        form->CheckBox1->setChecked(false);
        FirstFrame = 1;
        return Bytes(dir / "full.mth");
    }
    void OpenBytes(const std::vector<std::uint8_t>& bytes) {
        WriteBytes(dir / "hostile.mth", bytes);
        failures.clear();
        Open("hostile.mth");
    }
    // No field of the window holds a text that a later build cannot read.
    std::vector<std::string> UnreadableFields() const {
        static const QRegularExpression bad("inf|nan", QRegularExpression::CaseInsensitiveOption);
        std::vector<std::string> found;
        for (int k = 1; k <= 26; ++k)
            if (form->EditN(k)->text().contains(bad))
                found.push_back("Edit" + std::to_string(k) + " " + Text(form->EditN(k)));
        return found;
    }
};

TEST_F(HostileFiles, EveryTruncatedFileIsRefusedWithoutChangingTheWindow) {
    const auto full = SavedFile();
    ASSERT_EQ(full.size(), PlotFileRecordSize);
    const TWindowState before = State();
    for (std::size_t n = 0; n < PlotFileRecordSize; ++n) {
        OpenBytes({full.begin(), full.begin() + static_cast<long>(n)});
        if (n == 0) {
            EXPECT_TRUE(failures.empty()); // an empty file opens nothing
        } else {
            ASSERT_EQ(failures.size(), 1u) << n;
            EXPECT_NE(failures[0].find("(Read beyond end of file)"), std::string::npos) << n;
        }
        ASSERT_TRUE(State() == before) << n << " bytes changed the window";
    }
    OpenBytes(full); // the whole file is taken
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(form->CurrentPlotMode(), pmImplicit);
    EXPECT_EQ(PlotDocument.Formulas[fsImplicitF], "x^2+y^2-z");
    EXPECT_EQ(FirstFrame, 3);
}

// Every mode code a file can hold, alone and with a byte above it set: the
// six modes are laid out; any other code, or any upper byte, is refused
// before anything changes.
TEST_F(HostileFiles, EveryModeCode) {
    const auto saved = SavedFile();
    for (const std::size_t upper : {std::size_t{0}, std::size_t{1}, std::size_t{3}}) {
        for (int code = 0; code <= 255; ++code) {
            auto bytes = saved;
            bytes[ModeAt] = static_cast<std::uint8_t>(code);
            if (upper != 0) bytes[ModeAt + upper] = 0x5A;
            form->N3DzxyClick();
            const TWindowState before = State();
            OpenBytes(bytes);
            // The mode is the lowest byte, whatever the others hold.
            const bool mode = code >= pmYx && code <= pmImplicit;
            if (mode) {
                EXPECT_TRUE(failures.empty()) << code << ": " << failures[0];
                EXPECT_EQ(form->CurrentPlotMode(), code);
                EXPECT_EQ(PlotDocument.Formulas[fsImplicitF], "x^2+y^2-z") << code;
            } else {
                ASSERT_EQ(failures.size(), 1u) << code << " " << upper;
                EXPECT_NE(failures[0].find("код режима"), std::string::npos) << failures[0];
                EXPECT_TRUE(State() == before) << code << " " << upper;
            }
        }
    }
}

// Frames and intervals that the dialog does not let one type, but that the
// older program wrote: the file opens with them, keeps them on a save, and
// animates without overflow; a negative interval gives no ticks.
TEST_F(HostileFiles, AnyFramesAndIntervalOpenAndAnimate) {
    const auto saved = SavedFile();
    const auto put = [](std::vector<std::uint8_t>& b, std::size_t at, std::int32_t v) {
        std::memcpy(b.data() + at, &v, sizeof v);
    };
    const struct {
        std::int32_t first, last, interval;
        bool ticks;
    } cases[] = {
        {-5, 2000000000, INT_MAX, true},
        {INT_MIN, INT_MAX, 1, true},
        {-3, 5, -40, false},
    };
    for (const auto& c : cases) {
        auto bytes = saved;
        put(bytes, 0, c.first);
        put(bytes, 4, c.last);
        put(bytes, 8, c.interval);
        OpenBytes(bytes);
        ASSERT_TRUE(failures.empty()) << c.first << ": " << failures[0];
        EXPECT_EQ(std::tie(FirstFrame, LastFrame, FrameInterval),
                  std::tie(c.first, c.last, c.interval));
        // The dialog shows them and starts with them as they are.
        EXPECT_EQ(Text(windows->Form2->Edit2), std::to_string(c.last));
        form->N10Click();
        ASSERT_TRUE(failures.empty()) << failures[0];
        ASSERT_TRUE(form->Model.AnimationRunning);
        EXPECT_EQ(form->Timer1->isActive(), c.ticks);
        if (c.ticks) {
            EXPECT_EQ(form->Timer1->interval(), c.interval);
        }
        form->Timer1Timer();
        EXPECT_EQ(FrameCounter, std::min(c.first + 1, c.last));
        FrameCounter = c.last - 1; // the last frames, at the top of the range
        form->Timer1Timer();
        EXPECT_EQ(FrameCounter, c.last);
        EXPECT_TRUE(form->Model.AnimationRunning);
        form->Timer1Timer();
        EXPECT_FALSE(form->Model.AnimationRunning); // over, with no wrap to the bottom
        EXPECT_EQ(FrameCounter, c.last);
        // A save writes them back as they were.
        Save("again.mth");
        const auto again = Bytes(dir / "again.mth");
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + 12, again.begin()));
    }
}

// Files of any other kind: text, a picture, a file a byte too long; each is
// refused with one message that names the file and the reason, and the
// window stays.
TEST_F(HostileFiles, ForeignFilesAreRefusedBeforeAnythingChanges) {
    const auto saved = SavedFile();
    std::vector<std::uint8_t> text;
    const std::string services = "# Network services, Internet style\ntcpmux 1/tcp\n";
    while (text.size() < 4000)
        text.insert(text.end(), services.begin(), services.end());
    text.resize(4000);
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 13,  10,  26,  10,
                                     0,    0,   0,   13,  'I', 'H', 'D', 'R'};
    png.resize(2680, 0x41);
    auto longer = saved;
    longer.push_back(0);
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* reason;
    } cases[] = {
        {"text", {text.begin(), text.begin() + 2680}, "код режима"},
        {"a longer text", text, "длина 4000 байт"},
        {"a picture", png, "код режима"},
        {"a byte too long", longer, "длина 2681 байт"},
    };
    for (const auto& c : cases) {
        form->N3DzxyClick();
        const TWindowState before = State();
        OpenBytes(c.bytes);
        ASSERT_EQ(failures.size(), 1u) << c.name;
        EXPECT_EQ(failures[0].rfind("Файл «hostile.mth» не открыт: это не файл графиков (", 0), 0u)
            << failures[0];
        EXPECT_NE(failures[0].find(c.reason), std::string::npos) << c.name << ": " << failures[0];
        EXPECT_TRUE(State() == before) << c.name;
    }
    // A pipe no one writes to, and a link to an endless device: refused at
    // once, without waiting or reading.
    ASSERT_EQ(::mkfifo((dir / "pipe.mth").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir / "zero.mth");
    for (const char* name : {"pipe.mth", "zero.mth"}) {
        const TWindowState before = State();
        failures.clear();
        Open(name);
        ASSERT_EQ(failures.size(), 1u) << name;
        EXPECT_NE(failures[0].find("это не обычный файл"), std::string::npos) << failures[0];
        EXPECT_NE(failures[0].find(name), std::string::npos) << failures[0];
        EXPECT_TRUE(State() == before) << name;
    }
}

// A length byte from 0 to 255 in each of the 21 text fields, over a field of
// digits and over bytes from the whole code page, NUL included: each field
// takes at most 100 characters and the window shows what the file holds.
TEST_F(HostileFiles, LengthBytesInEveryTextField) {
    const auto saved = SavedFile();
    struct TField {
        std::size_t at;
        std::function<std::string(TForm1*)> shown;
    };
    std::vector<TField> fields = {
        {24, [](TForm1* f) { return f->ComboBox1->currentText().toStdString(); }},
        {1135, [](TForm1* f) { return f->Label1->text().toStdString(); }}};
    for (int k = 0; k < PlotFileListSlots; ++k) {
        // The list slot under test is the box's only item; an empty slot adds none.
        fields.push_back({125 + 101 * static_cast<std::size_t>(k), [](TForm1* f) {
                              return f->ComboBox1->count() == 0
                                         ? std::string()
                                         : f->ComboBox1->itemText(0).toStdString();
                          }});
        fields.push_back({1239 + 101 * static_cast<std::size_t>(k),
                          [k](TForm1*) { return PlotDocument.Formulas[k]; }});
    }
    std::uint8_t digits[100], codePage[100];
    for (int i = 0; i < 100; ++i) {
        digits[i] = static_cast<std::uint8_t>('1' + i % 9);
        codePage[i] = static_cast<std::uint8_t>(i * 37 % 256); // 0, 0x25 ... 0x98 ...
    }
    codePage[50] = 0;
    int opened = 0, refused = 0;
    for (const TField& field : fields) {
        for (const std::uint8_t* fill : {digits, codePage}) {
            for (int length = 0; length <= 255; length += fill == digits ? 1 : 17) {
                auto bytes = saved;
                bytes[ModeAt] = pmYx; // the mode that shows the box and the result
                for (std::size_t list = 125; list < 125 + 101 * 10; list += 101)
                    bytes[list] = 0; // only the slot under test fills the list
                bytes[field.at] = static_cast<std::uint8_t>(length);
                std::memcpy(bytes.data() + field.at + 1, fill, 100);
                const std::string before = field.shown(form);
                OpenBytes(bytes);
                if (length > 100) {
                    // No program writes a longer string: the file is refused.
                    ++refused;
                    ASSERT_EQ(failures.size(), 1u) << field.at << " " << length;
                    EXPECT_NE(failures[0].find("больше 100"), std::string::npos) << failures[0];
                    EXPECT_EQ(field.shown(form), before) << field.at << " " << length;
                    continue;
                }
                ++opened;
                const std::string held(reinterpret_cast<const char*>(fill),
                                       static_cast<std::size_t>(length));
                const std::string shown = field.shown(form);
                EXPECT_EQ(shown, FromWindows1251(held)) << field.at << " " << length;
                EXPECT_LE(failures.size(), 1u) << field.at << " " << length;
                EXPECT_EQ(form->CurrentPlotMode(), pmYx);
            }
        }
    }
    EXPECT_GT(opened, 21 * 101);
    EXPECT_GT(refused, 21 * 155);
}

// NaN, a signalling NaN and both infinities in every stored double: the
// number is replaced by its default, the user is told once, and no field is
// left with a text that a build could not read.
TEST_F(HostileFiles, NumbersThatAreNotFiniteInEveryDouble) {
    const auto saved = SavedFile();
    TPlotDocument defaults;
    SetDocumentDefaults(defaults);
    const std::uint64_t patterns[] = {
        std::bit_cast<std::uint64_t>(std::numeric_limits<double>::quiet_NaN()),
        0xFFF8000000000000u, // a negative NaN
        0x7FF0000000000001u, // a signalling NaN
        std::bit_cast<std::uint64_t>(std::numeric_limits<double>::infinity()),
        std::bit_cast<std::uint64_t>(-std::numeric_limits<double>::infinity())};
    for (const int mode : {pmYx, pmPlane, pmSurface}) {
        for (int k = 0; k < DocumentNumberCount; ++k) {
            for (const std::uint64_t pattern : patterns) {
                auto bytes = saved;
                bytes[ModeAt] = static_cast<std::uint8_t>(mode);
                std::memcpy(bytes.data() + NumbersAt + 8 * k, &pattern, 8);
                OpenBytes(bytes);
                ASSERT_EQ(failures.size(), 1u) << mode << " " << k;
                EXPECT_EQ(failures[0], NotANumberMessage);
                EXPECT_EQ(PlotDocument.Numbers[k], defaults.Numbers[k]) << k;
                EXPECT_TRUE(std::isfinite(PlotDocument.Numbers[(k + 1) % DocumentNumberCount]));
                EXPECT_EQ(UnreadableFields(), std::vector<std::string>()) << mode << " " << k;
            }
        }
        // The fields of the mode then build without a complaint.
        failures.clear();
        form->Button2Click();
        EXPECT_TRUE(failures.empty()) << mode << ": " << failures[0];
    }
    // x0 is stored but not read back: not even a NaN there is noticed.
    for (const std::uint64_t pattern : patterns) {
        auto bytes = saved;
        std::memcpy(bytes.data() + X0At, &pattern, 8);
        OpenBytes(bytes);
        EXPECT_TRUE(failures.empty());
    }
}

// A save through the window that fails at each step: the user reads why,
// the earlier file is unchanged byte for byte, and nothing is left beside it.
TEST_F(HostileFiles, ASaveThatFailsAtAnyStepKeepsTheOldFile) {
    Save("keep.mth");
    const auto before = Bytes(dir / "keep.mth");
    form->ComboBox1->setEditText("a formula the old file does not hold");
    for (const TSaveFault& fault : SaveFaults) {
        ClearFileFaults();
        fault.breakIt(FileFaults());
        failures.clear();
        Save("keep.mth");
        ASSERT_EQ(failures.size(), 1u) << fault.name;
        EXPECT_NE(failures[0].find("keep.mth» не записан: "), std::string::npos) << failures[0];
        EXPECT_NE(failures[0].find("(" + std::string(fault.message) + ")."), std::string::npos)
            << fault.name << ": " << failures[0];
        EXPECT_EQ(Bytes(dir / "keep.mth"), before) << fault.name;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
            << fault.name << ": something was left beside the file";
    }
    ClearFileFaults();
    failures.clear();
    Save("keep.mth"); // the same save, no longer disturbed
    EXPECT_TRUE(failures.empty());
    EXPECT_NE(Bytes(dir / "keep.mth"), before);
}

} // namespace
