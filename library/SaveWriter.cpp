#include "library/SaveWriter.h"

#include <algorithm>

SaveWriter::SaveWriter(Write write, std::chrono::milliseconds interval)
    : write_(std::move(write)), interval_(interval), thread_([this] { run(); }) {}

SaveWriter::~SaveWriter() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void SaveWriter::put(const std::string& key, Version version) {
    {
        const std::lock_guard lock(mutex_);
        saves_[key].next = std::move(version);
    }
    changed_.notify_all();
}

std::optional<SaveWriter::Version> SaveWriter::waiting(const std::string& key) const {
    const std::lock_guard lock(mutex_);
    if (const auto save = saves_.find(key); save != saves_.end() && save->second.next)
        return save->second.next;
    if (writing_ && writing_->first == key)
        return writing_->second;
    return std::nullopt;
}

void SaveWriter::drain() {
    std::unique_lock lock(mutex_);
    hurry_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] {
        return !writing_ && std::none_of(saves_.begin(), saves_.end(),
                                         [](const auto& save) { return save.second.next; });
    });
    hurry_ = false;
}

bool SaveWriter::move(const std::string& from, const std::string& to,
                      const std::function<bool()>& move) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !writing_; });
    const auto under = [this](const std::string& prefix) {
        auto first = saves_.lower_bound(prefix);
        auto last = first;
        while (last != saves_.end() && last->first.starts_with(prefix))
            ++last;
        return std::pair(first, last);
    };
    const auto [onTarget, pastTarget] = under(to);
    if (std::any_of(onTarget, pastTarget, [](const auto& save) { return save.second.next; }) ||
        !move())
        return false;
    const auto [first, last] = under(from);
    std::map<std::string, Save> moved;
    for (auto save = first; save != last; ++save)
        moved[to + save->first.substr(from.size())] = std::move(save->second);
    saves_.erase(first, last);
    for (auto& [key, save] : moved)
        saves_[key] = std::move(save);
    return true;
}

void SaveWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        const Clock::time_point now = Clock::now();
        Clock::time_point wake = Clock::time_point::max();
        auto due = saves_.end();
        for (auto save = saves_.begin(); save != saves_.end();) {
            const std::optional<Clock::time_point> written = save->second.written;
            const Clock::time_point next = written ? *written + interval_ : now;
            if (save->second.next && (hurry_ || ending_ || next <= now)) {
                due = save;
                break;
            }
            if (save->second.next) {
                wake = std::min(wake, next);
            } else if (next <= now) {
                // Written long enough ago that its next version may go at once.
                save = saves_.erase(save);
                continue;
            }
            ++save;
        }
        if (due != saves_.end()) {
            writing_.emplace(due->first, std::move(*due->second.next));
            due->second.next.reset();
            lock.unlock();
            write_(writing_->first, writing_->second);
            lock.lock();
            saves_[writing_->first].written = Clock::now();
            writing_.reset();
            changed_.notify_all();
            continue;
        }
        if (ending_)
            return;
        if (wake == Clock::time_point::max())
            changed_.wait(lock);
        else
            changed_.wait_until(lock, wake);
    }
}
