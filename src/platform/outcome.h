#pragma once
// What came of a step that may fail and that the user may stop: done,
// cancelled (nothing more to say), or failed with a message for the user.
// Result<T> carries what a step that was done gives back.

#include <QString>

#include <utility>

class Outcome {
public:
    enum class Kind { Done, Cancelled, Failed };

    static Outcome done() { return Outcome(Kind::Done, {}); }
    static Outcome cancelled() { return Outcome(Kind::Cancelled, {}); }
    static Outcome failed(QString message) { return Outcome(Kind::Failed, std::move(message)); }

    Kind kind() const { return m_kind; }
    bool isDone() const { return m_kind == Kind::Done; }
    bool isCancelled() const { return m_kind == Kind::Cancelled; }
    bool isFailed() const { return m_kind == Kind::Failed; }
    // Why it failed (empty unless it did).
    const QString& message() const { return m_message; }

protected:
    Outcome(Kind kind, QString message) : m_kind(kind), m_message(std::move(message)) {}

private:
    Kind m_kind;
    QString m_message;
};

template <typename T>
class Result : public Outcome {
public:
    Result(T value) : Outcome(Kind::Done, {}), m_value(std::move(value)) {}
    Result(Outcome outcome) : Outcome(std::move(outcome)) {}

    // The value of a step that was done; T's empty value otherwise.
    const T& value() const { return m_value; }

private:
    T m_value{};
};
