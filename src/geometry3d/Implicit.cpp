#include "geometry3d/Implicit.h"
#include "texts/Texts.h"

#include "engine/Arith80.h"
#include "engine/Engine.h"
#include "geometry3d/Builders.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

bool LevelScanRunning = false;

namespace {

// The samples of a line from min while the value stays at or below max.
long double SamplesAlong(const TAxisRow& row, double step) {
    if (!(row.Max >= row.Min)) return 0;
    return std::floor((static_cast<long double>(row.Max) - row.Min) / step) + 1;
}
long double SamplesAlong(const TAxisRow& row) {
    return SamplesAlong(row, row.Step1);
}

const char* const AxisNames[3] = {"X", "Y", "Z"};

// Steps that would never end a loop (not above zero, or too small to move
// the numbers of their range), and planes too large to scan between two
// looks at "Отмена", refused before anything changes. While the rows follow
// X, a step is named by the row X, where the user typed it.
void CheckScan(const TImplicitRequest& r) {
    bool lineStep[3] = {}, planeStep[3] = {}; // the steps the checked families use
    for (int f = 0; f < 3; ++f) {
        if (!r.Families[f]) continue;
        const TFamilyRoles roles = FamilyRoles(static_cast<TLevelFamily>(f));
        planeStep[roles.N] = lineStep[roles.P] = lineStep[roles.Q] = true;
    }
    const auto name = [&](const char* step, int axis) {
        return texts::Fill(
            texts::Translate("Steps", "%1 по оси %2"),
            {texts::Translate("Steps", step), std::string(AxisNames[r.RowsFollowX ? 0 : axis])});
    };
    const auto positive = [](const std::string& step) {
        return texts::Fill(texts::Translate("Steps", "%1 должен быть больше нуля: иначе "
                                                     "построение не кончится."),
                           {step});
    };
    for (int axis = 0; axis < 3; ++axis)
        if (planeStep[axis] && !(r.Rows[axis].Step2 > 0))
            throw BuildRefused(positive(name(QT_TRANSLATE_NOOP("Steps", "Шаг2"), axis)));
    for (int axis = 0; axis < 3; ++axis)
        if (lineStep[axis] && !(r.Rows[axis].Step1 > 0))
            throw BuildRefused(positive(name(QT_TRANSLATE_NOOP("Steps", "Шаг1"), axis)));
    for (int f = 0; f < 3; ++f) {
        if (!r.Families[f]) continue;
        const TFamilyRoles roles = FamilyRoles(static_cast<TLevelFamily>(f));
        const long double plane = SamplesAlong(r.Rows[roles.P]) * SamplesAlong(r.Rows[roles.Q]);
        if (!(plane <= MaxVertices)) throw BuildRefused(TooManyPointsMessage(plane));
    }
    for (int axis = 0; axis < 3; ++axis) {
        const TAxisRow& row = r.Rows[axis];
        if (planeStep[axis])
            CheckStepMoves(row.Min, row.Max, row.Step2,
                           name(QT_TRANSLATE_NOOP("Steps", "Шаг2"), axis));
        if (lineStep[axis])
            CheckStepMoves(row.Min, row.Max, row.Step1,
                           name(QT_TRANSLATE_NOOP("Steps", "Шаг1"), axis));
    }
}

// One thread's share of the scan: the context it evaluates in, the tree
// compiled for that context, and the points of the plane it scanned last.
// Each on cache lines of its own: the threads change their workers' counts
// at every line.
struct alignas(64) TScanWorker {
    TEvalContext* Context = &MainContext;
    const TExprNode* Tree = nullptr;
    TTreePtr OwnTree;                         // a helper thread's own tree
    std::unique_ptr<TEvalContext> OwnContext; // and its own context
    std::vector<Vertex3D> Points;
    // The samples of the lines along P and along Q (the first twice), and
    // the values and flags of a line.
    std::vector<double> SamplesP, SamplesQ;
    TRowResults Line;
    long double Lines = 0; // the lines of that plane
    bool AtBound = false;  // it found more points than the buffer may hold
};

class TLevelScan {
  public:
    TLevelScan(const TImplicitRequest& r, TScanProgress& progress, int threads)
        : r_(r), progress_(progress) {
        if (r.Centre)
            for (int a = 0; a < 3; ++a)
                centre_[a] = Centre(r.Rows[a].Min, r.Rows[a].Max);
        // The lines of the whole scan: each plane's lines along both axes.
        for (int f = 0; f < 3; ++f) {
            if (!r.Families[f]) continue;
            const TFamilyRoles roles = FamilyRoles(static_cast<TLevelFamily>(f));
            totalLines_ += SamplesAlong(r.Rows[roles.N], r.Rows[roles.N].Step2) *
                           (SamplesAlong(r.Rows[roles.P]) + SamplesAlong(r.Rows[roles.Q]));
        }
        // The main thread evaluates the slot's tree; each helper a tree of
        // its own, in a context of its own that starts from the main one. A formula that draws
        // random numbers runs on one thread: the order of the draws is its result.
        const TExprNode* tree = FormulaTrees[tsSurface];
        if (DrawsRandom(tree)) threads = 1;
        // The main thread scans, and with more threads as many helpers less one.
        workers_.resize(static_cast<std::size_t>(std::max(threads, 1)));
        workers_[0].Tree = tree;
        for (std::size_t k = 1; k < workers_.size(); ++k) {
            TScanWorker& w = workers_[k];
            w.OwnContext = std::make_unique<TEvalContext>(MainContext); // the other cells too
            w.Context = w.OwnContext.get();
            w.OwnTree = CompileTree(r.Formula, *w.Context);
            w.Tree = w.OwnTree.get();
        }
        // The rows along the axes the lines follow, made before the threads
        // start.
        bool along[3] = {};
        for (int f = 0; f < 3; ++f)
            if (r.Families[f]) {
                const TFamilyRoles roles = FamilyRoles(static_cast<TLevelFamily>(f));
                along[roles.P] = along[roles.Q] = true;
            }
        std::vector<double TEvalContext::*> variables;
        for (int axis = 0; axis < 3; ++axis)
            if (along[axis]) variables.push_back(Variable(axis));
        for (TScanWorker& w : workers_)
            PrepareRows(w.Tree, *w.Context, variables);
    }

    std::vector<Vertex3D> Points;
    bool Stopped = false;
    bool AtBound = false;

    // The planes of the checked families in the order X, Y, Z, each scanned
    // along Q and then along P.
    void Scan(const bool (&checked)[3]) {
        std::vector<TLevelFamily> families;
        for (const TLevelFamily family : {lfX, lfY, lfZ})
            if (checked[family]) families.push_back(family);
        if (workers_.size() > 1) {
            ScanOnHelpers(families);
            return;
        }
        for (const TLevelFamily family : families)
            if (!Stopped) ScanFamilyHere(family);
    }

    // The main thread's cells and error flag as one thread leaves them: at
    // the last sample of the last plane taken.
    void LeaveLastSample() const {
        if (!lastTaken_) return;
        VarX = last_.X, VarY = last_.Y, VarZ = last_.Z;
        EvalError = last_.Error;
    }

  private:
    // What a plane left in the cells of its context at its last sample.
    struct TLastSample {
        double X = 0, Y = 0, Z = 0;
        bool Error = false;
    };
    // The points a helper found in one plane, and where it left the cells.
    struct TPlane {
        std::vector<Vertex3D> Points;
        long double Lines = 0;
        bool AtBound = false;
        TLastSample Last;
        TLevelFamily Family = lfX;
    };

    // One thread: the main thread scans every plane with the slot's tree.
    void ScanFamilyHere(TLevelFamily family) {
        const TAxisRow& N = r_.Rows[FamilyRoles(family).N];
        TScanWorker& w = workers_[0];
        for (double n = N.Min; n <= N.Max && !Stopped; n = Advance(n, N.Step2)) {
            ScanPlane(family, n, w, MaxVertices - static_cast<std::int64_t>(Points.size()),
                      nullptr);
            Take(w.Points, w.AtBound);
            if (progress_.Plane(1.0 / 3, N.Step2, N.Max, N.Min) || AtBound) Stopped = true;
        }
    }

    // Several threads: the main thread and the helpers take the planes of
    // all families one by one; between its own planes the main thread takes
    // the points of the finished ones in the order of the planes, as one
    // thread would have found them, and shows the progress. A stop (cancel,
    // or the bound) lets each helper end the plane it is on.
    void ScanOnHelpers(const std::vector<TLevelFamily>& families) {
        std::mutex mutex;
        std::condition_variable planeDone;
        std::map<std::int64_t, TPlane> done; // by plane number
        // The next plane to scan: its family, its place and its number.
        std::size_t nextFamily = 0;
        double next = families.empty() ? 0 : r_.Rows[FamilyRoles(families[0]).N].Min;
        std::int64_t nextNumber = 0;
        bool stop = false;
        const auto morePlanes = [&] { // under the lock
            while (nextFamily < families.size() &&
                   !(next <= r_.Rows[FamilyRoles(families[nextFamily]).N].Max))
                if (++nextFamily < families.size())
                    next = r_.Rows[FamilyRoles(families[nextFamily]).N].Min;
            return nextFamily < families.size();
        };
        std::atomic<std::int64_t> lines{0}; // the lines scanned so far
        const long double before = lines_;
        const std::function<void()> showLines = [&] {
            ShowLines(before + static_cast<long double>(lines.load()));
        };
        // Scans the next plane with the worker's tree; false when none is left.
        const auto scanNext = [&](TScanWorker& w, bool main) {
            double n = 0;
            TLevelFamily family = lfX;
            std::int64_t number = 0, room = 0;
            {
                const std::lock_guard<std::mutex> lock(mutex);
                if (stop || !morePlanes()) return false;
                family = families[nextFamily];
                n = next;
                number = nextNumber++;
                next = Advance(next, r_.Rows[FamilyRoles(family).N].Step2);
                room = MaxVertices - static_cast<std::int64_t>(Points.size());
            }
            ScanPlane(family, n, w, room, &lines, main ? &showLines : nullptr);
            const TEvalContext& c = *w.Context;
            TPlane plane{std::move(w.Points), w.Lines, w.AtBound, {c.X, c.Y, c.Z, c.Error}, family};
            {
                const std::lock_guard<std::mutex> lock(mutex);
                done.emplace(number, std::move(plane));
            }
            planeDone.notify_one();
            return true;
        };
        std::vector<std::jthread> helpers;
        for (std::size_t k = 1; k < workers_.size(); ++k)
            helpers.emplace_back([&scanNext, &w = workers_[k]] {
                const TContextScope scope(*w.Context);
                while (scanNext(w, false)) {
                }
            });
        // The planes in order: taken as soon as they are done, the main
        // thread scanning one of its own whenever the next is not done yet.
        for (std::int64_t number = 0; !Stopped; ++number) {
            TPlane plane;
            for (;;) {
                std::unique_lock<std::mutex> lock(mutex);
                const auto it = done.find(number);
                if (it != done.end()) {
                    plane = std::move(it->second);
                    done.erase(it);
                    break;
                }
                if (number >= nextNumber && !morePlanes()) {
                    number = -1; // no more planes
                    break;
                }
                lock.unlock();
                if (!scanNext(workers_[0], true)) {
                    // All planes are taken: wait for the helpers' ones.
                    lock.lock();
                    if (!done.count(number))
                        planeDone.wait_for(lock, std::chrono::milliseconds(40));
                    lock.unlock();
                    showLines();
                }
            }
            if (number < 0) break;
            {
                const std::lock_guard<std::mutex> lock(mutex); // the helpers read the size
                Take(plane.Points, plane.AtBound);
            }
            last_ = plane.Last;
            lastTaken_ = true;
            showLines();
            const TAxisRow& N = r_.Rows[FamilyRoles(plane.Family).N];
            if (progress_.Plane(1.0 / 3, N.Step2, N.Max, N.Min) || AtBound) {
                Stopped = true;
                const std::lock_guard<std::mutex> lock(mutex);
                stop = true;
            }
        }
        lines_ = before + static_cast<long double>(lines.load());
    }

  private:
    static double TEvalContext::*Variable(int axis) {
        return axis == 0 ? &TEvalContext::X : axis == 1 ? &TEvalContext::Y : &TEvalContext::Z;
    }
    static double* Cell(TEvalContext& c, int axis) { return &(c.*Variable(axis)); }
    // The samples of a line along `row`, the first of them twice, so that a
    // line never reports a change at its first sample.
    static void LineSamples(const TAxisRow& row, std::vector<double>& samples) {
        samples.clear();
        samples.push_back(row.Min);
        for (double v = row.Min; v <= row.Max; v = Advance(v, row.Step1))
            samples.push_back(v);
    }

    // One plane into the worker's points. Each line done is shown at once
    // (`shared` null: one thread), or counted in `shared` and shown by
    // `show` (the main thread among helpers).
    void ScanPlane(TLevelFamily family, double n, TScanWorker& w, std::int64_t room,
                   std::atomic<std::int64_t>* shared, const std::function<void()>* show = nullptr) {
        const TFamilyRoles roles = FamilyRoles(family);
        const TAxisRow& P = r_.Rows[roles.P];
        const TAxisRow& Q = r_.Rows[roles.Q];
        TEvalContext& c = *w.Context;
        double* const cellN = Cell(c, roles.N);
        double* const cellP = Cell(c, roles.P);
        // A sign change is placed at the centre of the grid cell whose upper
        // corner is the sample.
        const double halfP = static_cast<double>(P.Step1 / 2.0L);
        const double halfQ = static_cast<double>(Q.Step1 / 2.0L);
        w.Points.clear();
        w.Lines = 0;
        w.AtBound = false;
        // With threads, the lines are added to the shared count a few at a
        // time: a count that every thread changes at every line would pass
        // between their caches all the time.
        std::int64_t unshared = 0;
        const auto lineDone = [&] {
            ++w.Lines;
            if (shared == nullptr) {
                LinesDone(1);
                return;
            }
            if (++unshared == 16) {
                shared->fetch_add(unshared, std::memory_order_relaxed);
                unshared = 0;
            }
            if (show != nullptr) (*show)();
        };
        *cellN = n;
        // Lines along Q, then along P.
        LineSamples(P, w.SamplesP);
        LineSamples(Q, w.SamplesQ);
        for (std::size_t k = 1; k < w.SamplesP.size() && !w.AtBound; ++k) {
            const double p = w.SamplesP[k];
            *cellP = p;
            w.Line.Eval(w.Tree, c, Variable(roles.Q), w.SamplesQ);
            for (std::size_t i = 1; i < w.SamplesQ.size(); ++i)
                TestSample(w, room, family, n, p, w.SamplesQ[i], w.Line.Values()[i - 1],
                           w.Line.Values()[i], w.Line.Errors()[i], halfP, halfQ);
            lineDone();
        }
        double* const cellQ = Cell(c, roles.Q);
        for (std::size_t k = 1; k < w.SamplesQ.size() && !w.AtBound; ++k) {
            const double q = w.SamplesQ[k];
            *cellQ = q;
            w.Line.Eval(w.Tree, c, Variable(roles.P), w.SamplesP);
            for (std::size_t i = 1; i < w.SamplesP.size(); ++i)
                TestSample(w, room, family, n, w.SamplesP[i], q, w.Line.Values()[i - 1],
                           w.Line.Values()[i], w.Line.Errors()[i], halfP, halfQ);
            lineDone();
        }
        if (shared != nullptr && unshared != 0)
            shared->fetch_add(unshared, std::memory_order_relaxed);
    }

    // A plane's points after those of the planes before it, up to the bound
    // (`atBound`: the plane found more than its room).
    void Take(const std::vector<Vertex3D>& points, bool atBound) {
        const auto room = static_cast<std::size_t>(MaxVertices) - Points.size();
        const std::size_t taken = std::min(points.size(), room);
        Points.insert(Points.end(), points.begin(),
                      points.begin() + static_cast<std::ptrdiff_t>(taken));
        if (taken < points.size() || (atBound && taken == room)) AtBound = true;
    }

    void LinesDone(long double lines) {
        lines_ += lines;
        ShowLines(lines_);
    }
    void ShowLines(long double lines) {
        progress_.Line(static_cast<double>(std::min(lines / totalLines_, 1.0L)));
    }

    // A point where F is zero at the sample, or where its sign changed since
    // the previous sample of the line; nothing where F had a domain error.
    // A NaN is no zero and no sign change.
    void TestSample(TScanWorker& w, std::int64_t room, TLevelFamily family, double n, double p,
                    double q, double prev, double cur, bool error, double halfP, double halfQ) {
        if (error) return;
        if (cur == 0) {
            AddLevelPoint(w, room, family, n, p, q, 0, 0);
        } else if ((prev < 0 && cur > 0) || (prev > 0 && cur < 0)) {
            // Compared one by one, not as a product: prev * cur of two tiny
            // values underflows to 0 and of two huge ones overflows.
            AddLevelPoint(w, room, family, n, p, q, halfP, halfQ);
        }
    }

    // Out of line: points are rare, and their extended arithmetic would
    // crowd the loops of the samples.
    [[gnu::noinline]] void AddLevelPoint(TScanWorker& w, std::int64_t room, TLevelFamily family,
                                         double n, double p, double q, double offsetP,
                                         double offsetQ) const {
        if (static_cast<std::int64_t>(w.Points.size()) >= room) {
            w.AtBound = true; // the buffer may not grow without end
            return;
        }
        const long double pp = static_cast<long double>(p) - offsetP;
        const long double qq = static_cast<long double>(q) - offsetQ;
        Vertex3D v{};
        switch (family) {
        case lfX:
            v.x = static_cast<double>(n - static_cast<long double>(centre_[0]));
            v.y = static_cast<double>(pp - centre_[1]);
            v.z = static_cast<double>(qq - centre_[2]);
            break;
        case lfY:
            v.x = static_cast<double>(pp - centre_[0]);
            v.y = static_cast<double>(n - static_cast<long double>(centre_[1]));
            v.z = static_cast<double>(qq - centre_[2]);
            break;
        case lfZ:
            v.x = static_cast<double>(qq - centre_[0]);
            v.y = static_cast<double>(pp - centre_[1]);
            v.z = static_cast<double>(n - static_cast<long double>(centre_[2]));
            break;
        }
        VertexColour(v, static_cast<long double>(v.z) + v.x, static_cast<long double>(v.z) + v.y);
        w.Points.push_back(v);
    }

    const TImplicitRequest& r_;
    TScanProgress& progress_;
    std::vector<TScanWorker> workers_;
    TLastSample last_; // of the last plane a helper scanned and the main thread took
    bool lastTaken_ = false;
    double centre_[3] = {0, 0, 0};
    long double lines_ = 0, totalLines_ = 0;
};

// While the scan runs, the trees stay where they are; the marks are cleared
// however the scan ends.
struct TRunningMark {
    TRunningMark() { LevelScanRunning = FormulaTreesLocked = true; }
    ~TRunningMark() { LevelScanRunning = FormulaTreesLocked = false; }
};

} // namespace

TImplicitRequest ImplicitRequest(const TPlotInput& input) {
    TImplicitRequest request;
    request.Formula = input.Document.Formulas[fsImplicitF];
    for (int axis = 0; axis < 3; ++axis) {
        const double* row = input.Document.Numbers + ImplXMin + 4 * axis;
        request.Rows[axis] = {row[0], row[1], row[2], row[3]};
        request.Families[axis] = input.Families[axis];
    }
    request.Centre = input.Centre;
    request.RowsFollowX = input.EqualRows;
    return request;
}

TFamilyRoles FamilyRoles(TLevelFamily family) {
    switch (family) {
    case lfX:
        return {0, 1, 2};
    case lfY:
        return {1, 0, 2};
    case lfZ:
        break;
    }
    return {2, 1, 0};
}

TLevelResult BuildLevelPoints(const TImplicitRequest& request, TScanProgress& progress) {
    TLevelResult result;
    FreeAllTrees();
    if (request.Formula.empty()) return result;
    CompileFormula(tsSurface, request.Formula);
    CheckScan(request);

    const TRunningMark running;
    LevelPointCount = 0;
    LevelPoints.clear();
    ++LevelGeneration;
    TLevelScan scan(request, progress, BuildThreads());
    progress.Start();
    scan.Scan(request.Families);
    scan.LeaveLastSample();
    LevelPoints = std::move(scan.Points);
    LevelPointCount = static_cast<std::int32_t>(LevelPoints.size());
    ++LevelGeneration;
    progress.End();
    result.Built = true;
    result.Stopped = scan.Stopped;
    result.AtBound = scan.AtBound;
    return result;
}

long double ImplicitSampleCount(const TImplicitRequest& r) {
    long double count = 0;
    for (int f = 0; f < 3; ++f) {
        if (!r.Families[f]) continue;
        const TFamilyRoles roles = FamilyRoles(static_cast<TLevelFamily>(f));
        count += SamplesAlong(r.Rows[roles.N], r.Rows[roles.N].Step2) * 2 *
                 SamplesAlong(r.Rows[roles.P]) * SamplesAlong(r.Rows[roles.Q]);
    }
    return count;
}
