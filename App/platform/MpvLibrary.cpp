#include "MpvLibrary.h"

template<typename Function> bool MpvLibrary::resolve(Function &function, const char *name)
{
    function = reinterpret_cast<Function>(m_library.resolve(name));
    return function != nullptr;
}

bool MpvLibrary::load()
{
    if (create)
        return true;
    // The library of the client API the headers describe; its major version is the API's.
    m_library.setFileNameAndVersion(QStringLiteral("mpv"), int(MPV_CLIENT_API_VERSION >> 16));
    if (!m_library.load())
        return false;
    const bool found =
        resolve(initialize, "mpv_initialize") && resolve(terminateDestroy, "mpv_terminate_destroy") &&
        resolve(setOptionString, "mpv_set_option_string") && resolve(observeProperty, "mpv_observe_property") &&
        resolve(setWakeupCallback, "mpv_set_wakeup_callback") && resolve(waitEvent, "mpv_wait_event") &&
        resolve(errorString, "mpv_error_string") && resolve(command, "mpv_command") &&
        resolve(commandNode, "mpv_command_node") && resolve(freeNodeContents, "mpv_free_node_contents") &&
        resolve(getProperty, "mpv_get_property") && resolve(setProperty, "mpv_set_property") &&
        resolve(setPropertyString, "mpv_set_property_string") && resolve(create, "mpv_create");
    if (!found)
        create = nullptr;
    return found;
}
