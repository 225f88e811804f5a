#include "counter/CanberraSoundPlayer.h"

#include "counter/core/WaveSound.h"

#include <canberra.h>

#include <memory>

namespace brantock::counter {

namespace {

// Every trigger sound shares one id, so cancelling it cuts whichever is playing.
constexpr std::uint32_t TriggerSoundId = 1;

struct ContextFree {
    void operator()(ca_context* context) const { ca_context_destroy(context); }
};
using Context = std::unique_ptr<ca_context, ContextFree>;

struct PropertiesFree {
    void operator()(ca_proplist* properties) const { ca_proplist_destroy(properties); }
};
using Properties = std::unique_ptr<ca_proplist, PropertiesFree>;

Context connected() {
    ca_context* context = nullptr;
    if (ca_context_create(&context) != CA_SUCCESS)
        return nullptr;
    Context owned(context);
    ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Brantock", CA_PROP_APPLICATION_ID,
                            "brantock", nullptr);
    // Connecting now spares the first trigger the wait; without a server the play below
    // tries again.
    ca_context_open(context);
    return owned;
}

// Streams the file: the server's sample cache is keyed by event name and would keep
// playing an old file under a name reused for a new one.
int start(ca_context* context, const QString& file) {
    ca_proplist* list = nullptr;
    if (ca_proplist_create(&list) != CA_SUCCESS)
        return CA_ERROR_OOM;
    Properties properties(list);
    ca_proplist_sets(list, CA_PROP_MEDIA_FILENAME, file.toLocal8Bit().constData());
    ca_proplist_sets(list, CA_PROP_MEDIA_ROLE, "event");
    ca_proplist_sets(list, CA_PROP_CANBERRA_CACHE_CONTROL, "never");
    return ca_context_play_full(context, TriggerSoundId, list, nullptr, nullptr);
}

} // namespace

CanberraSoundPlayer::CanberraSoundPlayer() : worker_([this](std::stop_token stop) { run(stop); }) {}

CanberraSoundPlayer::~CanberraSoundPlayer() = default;

void CanberraSoundPlayer::play(const QString& file) {
    request({false, file});
}

void CanberraSoundPlayer::playDefault() {
    request({true, QString()});
}

void CanberraSoundPlayer::request(Request next) {
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(next);
    }
    wake_.notify_one();
}

void CanberraSoundPlayer::run(std::stop_token stop) {
    Context context = connected();
    QString defaultFile;
    for (;;) {
        Request next;
        {
            std::unique_lock lock(mutex_);
            if (!wake_.wait(lock, stop, [this] { return pending_.has_value(); }))
                return;
            next = std::move(*pending_);
            pending_.reset();
        }
        if (next.builtIn) {
            if (defaultFile.isEmpty())
                defaultFile = WaveSound::DefaultFile();
            next.file = defaultFile;
        }
        if (!context)
            context = connected();
        if (!context)
            continue;
        ca_context_cancel(context.get(), TriggerSoundId);
        if (next.file.isEmpty())
            continue;
        const int result = start(context.get(), next.file);
        // A lost or never reached server: the next sound starts with a fresh connection.
        if (result != CA_SUCCESS && result != CA_ERROR_NOTFOUND && result != CA_ERROR_CORRUPT)
            context.reset();
    }
}

} // namespace brantock::counter
