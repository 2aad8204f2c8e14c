#include "app/TracingSerialLink.h"

#include <cmath>

namespace tav {

namespace {
QString hexByte(uint8_t b) {
    return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
}
}  // namespace

TracingSerialLink::TracingSerialLink(SerialLink& inner, Clock& clock, QIODevice& out)
    : inner_(inner), clock_(clock), out_(out), start_(clock.now()) {}

void TracingSerialLink::line(const QString& event) {
    const QString text = QStringLiteral("%1 %2\n").arg(clock_.now() - start_, 9, 'f', 3).arg(event);
    out_.write(text.toLatin1());
}

bool TracingSerialLink::open() {
    const bool ok = inner_.open();
    line(ok ? QStringLiteral("OPEN") : QStringLiteral("OPEN failed: ") + inner_.lastOpenError());
    return ok;
}

void TracingSerialLink::close() {
    inner_.close();
    line(QStringLiteral("CLOSE"));
}

void TracingSerialLink::setBaudRate(int baud) {
    inner_.setBaudRate(baud);
    line(QStringLiteral("BAUD %1").arg(baud));
}

void TracingSerialLink::writeByte(uint8_t b) {
    endWaiting();
    inner_.writeByte(b);
    line(QStringLiteral("TX ") + hexByte(b));
}

uint8_t TracingSerialLink::readByte() {
    endWaiting();
    const uint8_t b = inner_.readByte();
    line(QStringLiteral("RX ") + hexByte(b));
    return b;
}

void TracingSerialLink::discardInput() {
    // What is thrown away was still received: it shows in the trace.
    QString dropped;
    while (inner_.waitingCount() > 0) dropped += QLatin1Char(' ') + hexByte(inner_.readByte());
    inner_.discardInput();
    if (!dropped.isEmpty()) line(QStringLiteral("DISCARD") + dropped);
}

void TracingSerialLink::waitForInput(double seconds) {
    const double begin = clock_.now();
    if (!waitingSince_) waitingSince_ = begin;
    inner_.waitForInput(seconds);
    // A wait that ended with nothing to read after its whole time ran out;
    // the waits that may follow it before any traffic belong to the same timeout.
    if (!timedOut_ && inner_.waitingCount() == 0 && clock_.now() - begin >= seconds) {
        const double waited = (clock_.now() - *waitingSince_) * 1000.0;
        line(QStringLiteral("TIMEOUT after %1 ms").arg(std::lround(waited)));
        timedOut_ = true;
    }
}

void TracingSerialLink::endWaiting() {
    waitingSince_.reset();
    timedOut_ = false;
}

}  // namespace tav
