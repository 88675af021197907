#include "DemoMovies.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <cstdint>
#include <set>
#include <stdexcept>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
using Color = std::array<std::uint8_t, 3>;
Q_DECLARE_METATYPE(Color)

namespace {

// A movie reader of its own, following the published file layout field by
// field, so that a misreading shared with the writer cannot hide a fault.
// Reading past the end of the file or of the current tag throws.
class Reader {
public:
    Reader(const Bytes& bytes, std::size_t begin, std::size_t end)
        : m_bytes(bytes), m_pos(begin), m_end(end) {}

    std::uint32_t ub(int bits) {
        std::uint32_t value = 0;
        for (int i = 0; i < bits; ++i) {
            if (m_pos >= m_end)
                throw std::runtime_error("read past the end");
            value = value << 1 | ((m_bytes[m_pos] >> (7 - m_bit)) & 1U);
            if (++m_bit == 8)
                m_bit = 0, ++m_pos;
        }
        return value;
    }
    std::int32_t sb(int bits) {
        const std::uint32_t raw = ub(bits);
        const bool negative = bits > 0 && bits < 32 && (raw >> (bits - 1)) != 0;
        return static_cast<std::int32_t>(negative ? raw | ~0U << bits : raw);
    }
    void align() {
        if (m_bit != 0)
            m_bit = 0, ++m_pos;
    }
    std::uint8_t u8() { return align(), static_cast<std::uint8_t>(ub(8)); }
    std::uint16_t u16() {
        const std::uint8_t low = u8();
        return static_cast<std::uint16_t>(low | u8() << 8);
    }
    std::uint32_t u32() {
        const std::uint16_t low = u16();
        return low | static_cast<std::uint32_t>(u16()) << 16;
    }
    Color rgb() { return {u8(), u8(), u8()}; }
    std::size_t pos() const { return m_pos; }
    void expectAt(std::size_t pos, const char* what) const {
        if (m_pos != pos || m_bit != 0)
            throw std::runtime_error(what);
    }

private:
    const Bytes& m_bytes;
    std::size_t m_pos;
    std::size_t m_end;
    int m_bit = 0;
};

void expect(bool condition, const char* what) {
    if (!condition)
        throw std::runtime_error(what);
}

struct Rect {
    std::int32_t xMin, xMax, yMin, yMax;
    bool operator==(const Rect&) const = default;
};

Rect readRect(Reader& in) {
    const int bits = static_cast<int>(in.ub(5));
    const Rect rect{in.sb(bits), in.sb(bits), in.sb(bits), in.sb(bits)};
    in.align();
    return rect;
}

void skipMatrix(Reader& in) {
    for (int part = 0; part < 3; ++part) { // scale and rotation are optional, translation not
        if (part == 2 || in.ub(1)) {
            const int bits = static_cast<int>(in.ub(5));
            in.sb(bits), in.sb(bits);
        }
    }
    in.align();
}

struct Action {
    std::uint8_t code;
    Bytes operands;
    bool operator==(const Action&) const = default;
};
using Actions = std::vector<Action>;
const Action Stop{0x07, {}};
const Action GotoSecondFrame{0x81, {1, 0}};

Actions readActions(Reader& in) {
    Actions actions;
    while (const std::uint8_t code = in.u8()) {
        Action action{code, {}};
        if (code >= 0x80) // only these carry operands
            for (std::uint16_t length = in.u16(); length > 0; --length)
                action.operands.push_back(in.u8());
        actions.push_back(action);
    }
    return actions;
}

struct Shape {
    std::uint16_t id;
    Color fill;
    // Bounds and outline both equal the stage, the outline is closed, and
    // every edge of it has the fill on one side.
    bool fillsStage = false;
};

Shape readShape(Reader& in, const Rect& stage) {
    Shape shape{in.u16(), {}};
    const Rect bounds = readRect(in);
    expect(in.u8() == 1 && in.u8() == 0x00, "expected one solid fill style");
    shape.fill = in.rgb();
    expect(in.u8() == 0, "expected no line styles");
    const int fillBits = static_cast<int>(in.ub(4));
    const int lineBits = static_cast<int>(in.ub(4));

    std::vector<std::array<std::int64_t, 2>> outline;
    std::array<std::int64_t, 2> pen{0, 0};
    bool filled = true;
    std::uint32_t fill0 = 0, fill1 = 0;
    for (;;) {
        if (in.ub(1) == 0) { // style change
            const std::uint32_t flags = in.ub(5);
            if (flags == 0)
                break;
            expect((flags & 0x10) == 0, "unexpected new styles");
            if (flags & 0x01) {
                const int bits = static_cast<int>(in.ub(5));
                pen = {in.sb(bits), in.sb(bits)};
                outline = {pen};
            }
            fill0 = (flags & 0x02) ? in.ub(fillBits) : fill0;
            fill1 = (flags & 0x04) ? in.ub(fillBits) : fill1;
            if (flags & 0x08)
                in.ub(lineBits);
            continue;
        }
        expect(in.ub(1) == 1, "unexpected curved edge");
        const int bits = static_cast<int>(in.ub(4)) + 2;
        if (in.ub(1)) { // general line
            pen[0] += in.sb(bits), pen[1] += in.sb(bits);
        } else {
            const std::uint32_t vertical = in.ub(1);
            pen[vertical] += in.sb(bits);
        }
        filled = filled && (fill0 != 0 || fill1 != 0);
        outline.push_back(pen);
    }
    in.align();

    // An outline inside the stage's box whose area is the stage's is the
    // stage's rectangle; zero-width spikes or an open path fail here.
    std::int64_t twiceArea = 0;
    Rect box{INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN};
    for (std::size_t i = 0; i + 1 < outline.size(); ++i) {
        const auto &p = outline[i], &q = outline[i + 1];
        twiceArea += p[0] * q[1] - q[0] * p[1];
        box = {std::min<std::int32_t>(box.xMin, q[0]), std::max<std::int32_t>(box.xMax, q[0]),
               std::min<std::int32_t>(box.yMin, q[1]), std::max<std::int32_t>(box.yMax, q[1])};
    }
    const std::int64_t stageArea =
        std::int64_t{stage.xMax - stage.xMin} * (stage.yMax - stage.yMin);
    shape.fillsStage = filled && outline.size() > 3 && outline.front() == outline.back() &&
                       bounds == stage && box == stage && std::abs(twiceArea) == 2 * stageArea;
    return shape;
}

struct KeyCondition {
    int key;
    int mouseTransitions;
    Actions actions;
};

struct Button {
    std::uint16_t id;
    std::vector<std::array<int, 2>> records; // states, character
    std::vector<KeyCondition> conditions;
};

Button readButton(Reader& in) {
    Button button{in.u16(), {}, {}};
    in.u8(); // track as menu
    const std::size_t offsetField = in.pos();
    const std::uint16_t actionOffset = in.u16();
    while (const std::uint8_t states = in.u8()) {
        button.records.push_back({states & 0x0F, in.u16()});
        in.u16(); // depth
        skipMatrix(in);
        const int terms = static_cast<int>(in.ub(1) + in.ub(1)); // add, multiply
        const int bits = static_cast<int>(in.ub(4));
        for (int i = 0; i < 4 * terms; ++i)
            in.sb(bits);
        in.align();
    }
    in.expectAt(offsetField + actionOffset, "action offset misses the first condition");
    for (;;) {
        const std::size_t start = in.pos();
        const std::uint16_t size = in.u16();
        const std::uint16_t conditions = in.u16();
        button.conditions.push_back({conditions >> 9, conditions & 0x1FF, readActions(in)});
        if (size == 0)
            return button;
        in.expectAt(start + size, "condition size misses the next condition");
    }
}

struct Placement {
    int frame;
    int depth;
    int character;
};

enum : std::uint16_t {
    End = 0,
    ShowFrame = 1,
    DefineShape = 2,
    SetBackgroundColor = 9,
    DoAction = 12,
    PlaceObject2 = 26,
    DefineButton2 = 34
};

// Everything a test looks at, decoded in one walk over the tags.
struct Movie {
    QString error; // empty when the whole file decoded
    std::string signature;
    int version = 0;
    std::uint32_t length = 0;
    Rect stage{};
    int frameRate = 0; // 8.8 fixed point
    int frameCount = 0;
    int showFrames = 0;
    std::uint16_t lastTagBeforeEnd = End;
    std::vector<Color> backgrounds;
    std::vector<Shape> shapes;
    std::vector<Button> buttons;
    std::vector<Placement> placements;
    std::vector<std::vector<Actions>> scripts; // per frame

    const Shape* shape(int id) const {
        for (const Shape& shape : shapes)
            if (shape.id == id)
                return &shape;
        return nullptr;
    }
};

void decode(const Bytes& bytes, Movie& movie) {
    Reader in(bytes, 0, bytes.size());
    movie.signature = {char(in.u8()), char(in.u8()), char(in.u8())};
    movie.version = in.u8();
    movie.length = in.u32();
    movie.stage = readRect(in);
    movie.frameRate = in.u16();
    movie.frameCount = in.u16();
    for (;;) {
        const std::uint16_t header = in.u16();
        const std::uint16_t code = header >> 6;
        const std::size_t length = (header & 0x3F) == 0x3F ? in.u32() : header & 0x3F;
        const std::size_t end = in.pos() + length;
        expect(end <= bytes.size(), "tag runs past the end of the file");
        if (code == End) {
            expect(end == bytes.size(), "End tag is not the last thing in the file");
            return;
        }
        movie.lastTagBeforeEnd = code;
        Reader body(bytes, in.pos(), end);
        const int frame = movie.showFrames;
        if (code == ShowFrame) {
            ++movie.showFrames;
        } else if (code == SetBackgroundColor) {
            movie.backgrounds.push_back(body.rgb());
        } else if (code == DefineShape) {
            movie.shapes.push_back(readShape(body, movie.stage));
        } else if (code == DefineButton2) {
            movie.buttons.push_back(readButton(body));
        } else if (code == DoAction) {
            movie.scripts.resize(frame + 1);
            movie.scripts[frame].push_back(readActions(body));
        } else if (code == PlaceObject2) {
            const std::uint8_t flags = body.u8();
            expect((flags & ~0x06) == 0, "placement carries more than a character and matrix");
            const int depth = body.u16();
            if (flags & 0x02)
                movie.placements.push_back({frame, depth, body.u16()});
            if (flags & 0x04)
                skipMatrix(body);
        }
        body.expectAt(end, "tag length does not match its content");
        for (std::size_t i = 0; i < length; ++i)
            in.u8();
    }
}

Movie readMovie(const Bytes& bytes) {
    Movie movie;
    try {
        decode(bytes, movie);
    } catch (const std::exception& error) {
        movie.error = error.what();
    }
    return movie;
}

QByteArray toByteArray(const Bytes& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

struct Run {
    int exitCode;
    QString errors;
};

Run runTool(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral(PELLIWICK_SWF), arguments);
    if (!tool.waitForFinished(10000) || tool.exitStatus() != QProcess::NormalExit)
        return {-1, tool.errorString()};
    return {tool.exitCode(), QString::fromLocal8Bit(tool.readAllStandardError())};
}

const Color Red{0xFF, 0x00, 0x00};
const Color Teal{0x12, 0x80, 0x7F};

} // namespace

class SwfWriterTest : public QObject {
    Q_OBJECT

private slots:
    void movies_headerAndTagsAreExact_data();
    void movies_headerAndTagsAreExact();
    void solid_fillsStageWithRequestedColor_data();
    void solid_fillsStageWithRequestedColor();
    void keyswitch_firstFrameShowsColorAndKeyButton();
    void keyswitch_everyKeyGoesToSecondFrame();
    void keyswitch_secondFrameCoversStageWithKeyColor();
    void loader_replacesItselfWithTheNamedMovie();
    void cli_writesRequestedMovie_data();
    void cli_writesRequestedMovie();
    void cli_rejectsBadArguments_data();
    void cli_rejectsBadArguments();
    void cli_failsWhenFileCannotBeWritten_data();
    void cli_failsWhenFileCannotBeWritten();

private:
    Movie m_keySwitch =
        readMovie(DemoMovies::keySwitch({0xFF, 0, 0}, {0x12, 0x80, 0x7F}, 320, 240));
};

void SwfWriterTest::movies_headerAndTagsAreExact_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("frames");
    const auto row = [](const char* name, const Bytes& bytes, int width, int height, int frames) {
        QTest::newRow(name) << toByteArray(bytes) << width << height << frames;
    };
    row("solid 320x240", DemoMovies::solid({1, 2, 3}, 320, 240), 320, 240, 1);
    row("solid 1x1", DemoMovies::solid({1, 2, 3}, 1, 1), 1, 1, 1);
    row("solid 2880x2880", DemoMovies::solid({1, 2, 3}, 2880, 2880), 2880, 2880, 1);
    row("keyswitch 320x240", DemoMovies::keySwitch({1, 2, 3}, {4, 5, 6}, 320, 240), 320, 240, 2);
    row("keyswitch 641x479", DemoMovies::keySwitch({1, 2, 3}, {4, 5, 6}, 641, 479), 641, 479, 2);
}

void SwfWriterTest::movies_headerAndTagsAreExact() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, frames);
    const Movie movie = readMovie(Bytes(bytes.begin(), bytes.end()));
    QVERIFY2(movie.error.isEmpty(), qPrintable(movie.error));
    QCOMPARE(movie.signature, std::string("FWS"));
    QVERIFY(movie.version == 6 || movie.version == 8);
    QCOMPARE(movie.length, std::uint32_t(bytes.size()));
    QCOMPARE(movie.stage, (Rect{0, width * 20, 0, height * 20}));
    QVERIFY(movie.frameRate == 12 << 8 || movie.frameRate == 24 << 8);
    QCOMPARE(movie.frameCount, movie.showFrames);
    QCOMPARE(movie.frameCount, frames);
    // Whatever followed the last frame would never be shown.
    QCOMPARE(movie.lastTagBeforeEnd, std::uint16_t(ShowFrame));
}

void SwfWriterTest::solid_fillsStageWithRequestedColor_data() {
    QTest::addColumn<Color>("color");
    QTest::newRow("black") << Color{0, 0, 0};
    QTest::newRow("white") << Color{0xFF, 0xFF, 0xFF};
    QTest::newRow("mixed") << Teal;
}

void SwfWriterTest::solid_fillsStageWithRequestedColor() {
    QFETCH(Color, color);
    const Movie movie = readMovie(DemoMovies::solid({color[0], color[1], color[2]}, 320, 240));
    QVERIFY2(movie.error.isEmpty(), qPrintable(movie.error));
    QCOMPARE(movie.backgrounds, std::vector<Color>{color});
    QCOMPARE(movie.shapes.size(), 1u);
    const Shape& shape = movie.shapes[0];
    QCOMPARE(shape.fill, color);
    QVERIFY(shape.fillsStage);
    QCOMPARE(movie.placements.size(), 1u);
    QCOMPARE(movie.placements[0].character, shape.id);
    QCOMPARE(movie.placements[0].frame, 0);
    QCOMPARE(movie.scripts, std::vector<std::vector<Actions>>{{Actions{Stop}}});
}

void SwfWriterTest::keyswitch_firstFrameShowsColorAndKeyButton() {
    const Movie& movie = m_keySwitch;
    QVERIFY2(movie.error.isEmpty(), qPrintable(movie.error));
    QCOMPARE(movie.backgrounds, std::vector<Color>{Red});
    QCOMPARE(movie.buttons.size(), 1u);
    const int button = movie.buttons[0].id;
    std::multiset<int> shown;
    for (const Placement& placement : movie.placements)
        if (placement.frame == 0)
            shown.insert(placement.character);
    // Key conditions only fire while the button is on the stage.
    QCOMPARE(shown.size(), 2u);
    QCOMPARE(shown.count(button), 1u);
    const Shape* shape = movie.shape(*shown.begin() == button ? *shown.rbegin() : *shown.begin());
    QVERIFY(shape);
    QCOMPARE(shape->fill, Red);
    QVERIFY(shape->fillsStage);

    // Up, over, down and hit area all show the first colour: the button
    // changes nothing on screen, whatever the mouse does.
    QCOMPARE(movie.buttons[0].records, (std::vector<std::array<int, 2>>{{0x0F, shape->id}}));
    QCOMPARE(movie.scripts.at(0), std::vector<Actions>{Actions{Stop}});
}

void SwfWriterTest::keyswitch_everyKeyGoesToSecondFrame() {
    const Movie& movie = m_keySwitch;
    QVERIFY2(movie.error.isEmpty(), qPrintable(movie.error));
    // Left, right, home, end, insert, delete, backspace, enter, up, down,
    // page up, page down, tab, escape; then printable ASCII.
    std::multiset<int> expected = {1, 2, 3, 4, 5, 6, 8, 13, 14, 15, 16, 17, 18, 19};
    for (int key = 32; key <= 126; ++key)
        expected.insert(key);
    std::multiset<int> keys;
    for (const KeyCondition& condition : movie.buttons.at(0).conditions) {
        keys.insert(condition.key);
        QCOMPARE(condition.mouseTransitions, 0);
        QCOMPARE(condition.actions, (Actions{GotoSecondFrame, Stop}));
    }
    QCOMPARE(keys, expected);
}

void SwfWriterTest::keyswitch_secondFrameCoversStageWithKeyColor() {
    const Movie& movie = m_keySwitch;
    QVERIFY2(movie.error.isEmpty(), qPrintable(movie.error));
    int topFirstFrameDepth = 0;
    std::vector<Placement> second;
    for (const Placement& placement : movie.placements) {
        if (placement.frame == 0)
            topFirstFrameDepth = std::max(topFirstFrameDepth, placement.depth);
        else
            second.push_back(placement);
    }
    QCOMPARE(second.size(), 1u);
    QCOMPARE(second[0].frame, 1);
    QVERIFY(second[0].depth > topFirstFrameDepth);
    const Shape* shape = movie.shape(second[0].character);
    QVERIFY(shape);
    QCOMPARE(shape->fill, Teal);
    QVERIFY(shape->fillsStage);
    QCOMPARE(movie.scripts.at(1), std::vector<Actions>{Actions{Stop}});
}

void SwfWriterTest::cli_writesRequestedMovie_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("frames");
    QTest::addColumn<Color>("background");
    QTest::newRow("solid") << QStringList{"solid", "--color", "FF0000"} << false << 320 << 240 << 1
                           << Red;
    QTest::newRow("solid sized, lower case")
        << QStringList{"solid", "--width", "100", "--color", "12807f", "--height", "50"} << false
        << 100 << 50 << 1 << Teal;
    QTest::newRow("keyswitch largest")
        << QStringList{"keyswitch", "--key-color", "12807F",   "--color", "FF0000",
                       "--width",   "2880",        "--height", "2880"}
        << false << 2880 << 2880 << 2 << Red;
    QTest::newRow("replaces existing file")
        << QStringList{"solid", "--color", "12807F"} << true << 320 << 240 << 1 << Teal;
    QTest::newRow("loader") << QStringList{"loader", "--color", "12807F", "--url",
                                           "http://127.0.0.1:9/x.swf"}
                            << false << 320 << 240 << 1 << Teal;
}

void SwfWriterTest::cli_writesRequestedMovie() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, fileExists);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, frames);
    QFETCH(Color, background);
    QTemporaryDir dir;
    QFile file(dir.filePath("movie.swf"));
    if (fileExists) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(5000, 'x'));
        file.close();
    }
    const Run run = runTool(arguments << "--out" << file.fileName());
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.errors.isEmpty(), qPrintable(run.errors));

    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const Movie movie = readMovie(Bytes(bytes.begin(), bytes.end()));
    QVERIFY2(movie.error.isEmpty(), qPrintable(movie.error));
    QCOMPARE(movie.length, std::uint32_t(bytes.size()));
    QCOMPARE(movie.stage, (Rect{0, width * 20, 0, height * 20}));
    QCOMPARE(movie.frameCount, frames);
    QCOMPARE(movie.backgrounds, std::vector<Color>{background});
    // The temporary file was renamed into place, not left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"movie.swf"});
}

void SwfWriterTest::cli_rejectsBadArguments_data() {
    QTest::addColumn<QStringList>("arguments"); // OUT stands for the target file
    const QString out = QStringLiteral("OUT");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("unknown kind") << QStringList{"plasma", "--color", "FF0000", "--out", out};
    QTest::newRow("no out") << QStringList{"solid", "--color", "FF0000"};
    QTest::newRow("out without value") << QStringList{"solid", "--color", "FF0000", "--out"};
    QTest::newRow("no colour") << QStringList{"solid", "--out", out};
    QTest::newRow("short colour") << QStringList{"solid", "--color", "FF000", "--out", out};
    QTest::newRow("hash colour") << QStringList{"solid", "--color", "#FF0000", "--out", out};
    QTest::newRow("not hex") << QStringList{"solid", "--color", "GG0000", "--out", out};
    QTest::newRow("colour twice") << QStringList{"solid",  "--color", "FF0000", "--color",
                                                 "00FF00", "--out",   out};
    QTest::newRow("keyswitch without key colour")
        << QStringList{"keyswitch", "--color", "FF0000", "--out", out};
    QTest::newRow("loader without url") << QStringList{"loader", "--color", "FF0000", "--out", out};
    QTest::newRow("solid with url")
        << QStringList{"solid", "--color", "FF0000", "--url", "x.swf", "--out", out};
    QTest::newRow("solid with key colour")
        << QStringList{"solid", "--color", "FF0000", "--key-color", "00FF00", "--out", out};
    QTest::newRow("unknown option")
        << QStringList{"solid", "--color", "FF0000", "--fps", "30", "--out", out};
    for (const char* width : {"0", "2881", "-5", "24O", ""})
        QTest::addRow("width '%s'", width)
            << QStringList{"solid", "--color", "FF0000", "--width", width, "--out", out};
}

void SwfWriterTest::cli_rejectsBadArguments() {
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    for (QString& argument : arguments)
        argument = argument == "OUT" ? dir.filePath("movie.swf") : argument;
    const Run run = runTool(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.errors.contains("usage:"), qPrintable(run.errors));
    QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void SwfWriterTest::cli_failsWhenFileCannotBeWritten_data() {
    // Tests may run as root, for whom a read-only folder is still writable.
    QTest::addColumn<QString>("out");
    QTest::newRow("missing folder") << "/nonexistent-pelliwick-folder/movie.swf";
    QTest::newRow("proc") << "/proc/movie.swf";
}

void SwfWriterTest::cli_failsWhenFileCannotBeWritten() {
    QFETCH(QString, out);
    const Run run = runTool({"solid", "--color", "FF0000", "--out", out});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.errors.contains(out), qPrintable(run.errors));
    QVERIFY(!run.errors.contains("usage:"));
}

QTEST_GUILESS_MAIN(SwfWriterTest)
#include "SwfWriterTest.moc"

void SwfWriterTest::loader_replacesItselfWithTheNamedMovie() {
    const Movie movie = readMovie(DemoMovies::loader({9, 8, 7}, "next game.swf", 320, 240));
    QVERIFY2(movie.error.isEmpty(), qPrintable(movie.error));
    QCOMPARE(movie.showFrames, 1);
    QCOMPARE(movie.backgrounds.size(), size_t(1));
    const std::string operands("next game.swf\0_level0\0", 22);
    const Action getUrl{0x83, Bytes(operands.begin(), operands.end())};
    QCOMPARE(movie.scripts.at(0), std::vector<Actions>{(Actions{getUrl, Stop})});
}
