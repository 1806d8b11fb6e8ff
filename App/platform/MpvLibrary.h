#pragma once

#include <QLibrary>

#include <mpv/client.h>

// libmpv's client functions, looked up when the first song plays. Linking libmpv would load it
// and the ~170 libraries under it (codecs, filters, speech voices, sound servers) at every start,
// tens of megabytes of resident pages and their relocation time, for a player that may never
// play in the session.
class MpvLibrary final
{
public:
    // Loads libmpv and finds every function; false (and the reason in error()) when it cannot.
    bool load();
    [[nodiscard]] QString error() const { return m_library.errorString(); }

    decltype(&::mpv_create) create = nullptr;
    decltype(&::mpv_initialize) initialize = nullptr;
    decltype(&::mpv_terminate_destroy) terminateDestroy = nullptr;
    decltype(&::mpv_set_option_string) setOptionString = nullptr;
    decltype(&::mpv_observe_property) observeProperty = nullptr;
    decltype(&::mpv_set_wakeup_callback) setWakeupCallback = nullptr;
    decltype(&::mpv_wait_event) waitEvent = nullptr;
    decltype(&::mpv_error_string) errorString = nullptr;
    decltype(&::mpv_command) command = nullptr;
    decltype(&::mpv_command_node) commandNode = nullptr;
    decltype(&::mpv_free_node_contents) freeNodeContents = nullptr;
    decltype(&::mpv_get_property) getProperty = nullptr;
    decltype(&::mpv_set_property) setProperty = nullptr;
    decltype(&::mpv_set_property_string) setPropertyString = nullptr;

private:
    template<typename Function> bool resolve(Function &function, const char *name);

    QLibrary m_library;
};
