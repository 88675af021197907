#include "ScreenProbe.h"

#include "BenchClock.h"

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

ScreenProbe::ScreenProbe() {
    connection_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection_)) {
        std::fprintf(stderr, "ScreenProbe: no X display\n");
        std::exit(2);
    }
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

ScreenProbe::~ScreenProbe() {
    stop();
    xcb_disconnect(connection_);
}

void ScreenProbe::stop() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    stop_ = false;
}

void ScreenProbe::watch(std::vector<QRect> strips, Test test) {
    stop();
    seenAt_ = 0;
    thread_ = std::thread(&ScreenProbe::run, this, std::move(strips), std::move(test));
}

std::int64_t ScreenProbe::wait(int timeoutMs) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (seenAt())
            loop.quit();
    });
    poll.start(PollMs);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!seenAt())
        loop.exec();
    stop();
    return seenAt();
}

void ScreenProbe::run(std::vector<QRect> strips, Test test) {
    std::vector<QColor> pixels;
    while (!stop_) {
        const std::int64_t before = BenchClock::now();
        if (read(strips, pixels) && test(pixels)) {
            // The frame came after the previous read and before this one;
            // a poll is short, so the read's start is the moment.
            seenAt_ = before;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(PollMs));
    }
}

bool ScreenProbe::read(const std::vector<QRect>& strips, std::vector<QColor>& pixels) {
    // All requests first, then the replies: one round trip per poll.
    std::vector<xcb_get_image_cookie_t> cookies;
    for (const QRect& s : strips)
        cookies.push_back(xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_,
                                        std::int16_t(s.x()), std::int16_t(s.y()),
                                        std::uint16_t(s.width()), std::uint16_t(s.height()), ~0u));
    pixels.clear();
    bool complete = true;
    for (size_t i = 0; i < cookies.size(); ++i) {
        xcb_get_image_reply_t* reply = xcb_get_image_reply(connection_, cookies[i], nullptr);
        if (!reply) {
            complete = false;
            continue;
        }
        // A 24-bit screen stores a pixel in 32 bits, blue first.
        const std::uint8_t* data = xcb_get_image_data(reply);
        const int count = xcb_get_image_data_length(reply) / 4;
        if (reply->depth >= 24 && count >= strips[i].width() * strips[i].height())
            for (int p = 0; p < count; ++p)
                pixels.emplace_back(data[4 * p + 2], data[4 * p + 1], data[4 * p]);
        else
            complete = false;
        std::free(reply);
    }
    return complete && !pixels.empty();
}

ScreenProbe::Test ScreenProbe::all(QColor colour) {
    return [colour](const std::vector<QColor>& pixels) {
        for (const QColor& p : pixels)
            if (std::abs(p.red() - colour.red()) > 8 || std::abs(p.green() - colour.green()) > 8 ||
                std::abs(p.blue() - colour.blue()) > 8)
                return false;
        return true;
    };
}

ScreenProbe::Test ScreenProbe::text() {
    return [](const std::vector<QColor>& pixels) {
        size_t dark = 0, light = 0;
        for (const QColor& p : pixels) {
            const int level = qGray(p.rgb());
            dark += level < 128;
            light += level > 200;
        }
        return dark >= 3 && light >= pixels.size() / 2;
    };
}
