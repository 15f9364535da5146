#include "storage/record_store.h"

#include <atomic>

namespace {
std::atomic<quint64> g_nextSerial{1};
}

RecordStore::RecordStore() : m_serial(g_nextSerial++) {}

QString RecordStore::Row::text(int column) const
{
    if (isNull(column))
        return {};
    const QString text = QString::fromUtf8(bytes(column));
    return text.isNull() ? QStringLiteral("") : text;
}
