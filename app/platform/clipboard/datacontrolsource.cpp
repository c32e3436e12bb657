// SPDX-License-Identifier: GPL-3.0-or-later
#include "datacontrolsource.h"

#include "cliptext.h"
#include "pastewriter.h"

#include <utility>

DataControlSource::DataControlSource(const DataControlProtocol &protocol, wl_proxy *manager,
                                     const QByteArray &utf8,
                                     std::chrono::milliseconds pasteDeadline, QObject *pastes,
                                     std::function<void()> cancelled)
    : m_source(protocol.createSource(manager)), m_utf8(utf8), m_pasteDeadline(pasteDeadline),
      m_pastes(pastes), m_cancelled(std::move(cancelled))
{
    static const DataControlProtocol::SourceListener listener{&onSend, &onCancelled};
    DataControlProtocol::listen(m_source, listener, this);
    for (const char *type : ClipText::kTextTypes)
        DataControlProtocol::offerType(m_source, type);
}

DataControlSource::~DataControlSource()
{
    DataControlProtocol::destroy(m_source);
}

QByteArray DataControlSource::bytesFor(const char *mimeType)
{
    if (ClipText::encodingOf(mimeType) == ClipText::Encoding::Utf8)
        return m_utf8;
    if (m_latin1.isNull())
        m_latin1 = ClipText::latin1Of(m_utf8);
    return m_latin1;
}

void DataControlSource::onSend(void *data, wl_proxy *, const char *mimeType, int32_t fd)
{
    auto *self = static_cast<DataControlSource *>(data);
    // Every type on offer is a text type; a request for another gets the text too.
    auto *paste =
        new PasteWriter(fd, self->bytesFor(mimeType), self->m_pasteDeadline, self->m_pastes);
    QObject::connect(paste, &PasteWriter::finished, paste, &QObject::deleteLater);
}

void DataControlSource::onCancelled(void *data, wl_proxy *)
{
    // A copy: the callback may destroy the source, and itself with it.
    const std::function<void()> cancelled = static_cast<DataControlSource *>(data)->m_cancelled;
    cancelled();
}
