#pragma once

// Answers that tests queue up for a dialog, so that the dialog is answered
// in order without being shown, and what it would have shown is recorded.

#include <QQueue>
#include <QStringList>
#include <utility>

namespace quorvel::app {

// Answer must be default-constructible; its default value is the answer of
// a dialog that finds no answer left (a cancel).
template <typename Answer>
class TestAnswers {
public:
    // Once an answer is queued, every following dialog is answered from the
    // queue until clear().
    bool active() const { return active_; }
    void queue(Answer answer) {
        active_ = true;
        answers_.enqueue(std::move(answer));
    }
    Answer take() { return answers_.isEmpty() ? Answer{} : answers_.dequeue(); }
    void recordShown(const QString& text) { shown_.append(text); }
    QStringList takeShown() { return std::exchange(shown_, {}); }
    void clear() { *this = TestAnswers{}; }

private:
    bool active_ = false;
    QQueue<Answer> answers_;
    QStringList shown_;
};

}  // namespace quorvel::app
