#include "fakes/FakeMediaService.h"

#include <algorithm>

namespace tavlo::test {

FakeStream::FakeStream(FakeMediaService& service, QString path, double duration)
    : m_service(service), m_id(++service.m_opened), m_path(std::move(path)), m_duration(duration)
{
    m_service.m_streams.push_back(this);
}

FakeStream::~FakeStream()
{
    auto& v = m_service.m_streams;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

void FakeStream::settle() const
{
    const std::int64_t now = m_service.nowMs();
    if (m_state == State::Running)
        m_pos = std::min(m_duration, m_pos + (now - m_since) / 1000.0 * m_rate);
    m_since = now;
}

OpenResult FakeMediaService::open(const QString& path)
{
    OpenResult r;
    const auto it = m_files.constFind(path);
    if (path.isEmpty() || it == m_files.constEnd()) {
        failedOpens << path;
        r.error = path.isEmpty() ? media_error::NoFileName : media_error::NotFound;
    } else {
        r.stream = std::make_unique<FakeStream>(*this, path, *it);
    }
    return r;
}

}  // namespace tavlo::test
