#pragma once

#include <QString>

#include <exception>

namespace Tarvel {

// An error raised inside a procedure and caught by the common trap, which
// hands number and description to ErrHandler with the procedure's location.
class TrappedError : public std::exception
{
public:
    TrappedError(int number, QString description);
    explicit TrappedError(int number);

    int number() const { return m_number; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

} // namespace Tarvel

namespace Tarvel {

// Runs one step of a walk over the field arrays, passing over error 340
// (no field at that index), so one missing field never ends the walk.
template<class F> void skipMissingField(F &&step)
{
    try {
        step();
    } catch (const TrappedError &e) {
        if (e.number() != 340)
            throw;
    }
}

} // namespace Tarvel
