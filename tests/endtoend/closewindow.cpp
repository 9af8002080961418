// Asks a window to close the way a window manager does when its close box is
// pressed (a WM_DELETE_WINDOW message), and tells what the window's program
// is doing by the pointer it shows, read each time after the program has
// answered a ping (_NET_WM_PING): by then it has handled every click and move
// sent before.
//
//   closewindow WINDOW                 close the window now
//   closewindow --ping WINDOW          wait for the program's answer to a ping
//   closewindow --cursor WINDOW        print the pointer's cursor (a serial number)
//   closewindow --until CURSOR WINDOW  wait until the pointer shows that cursor
//   closewindow --close-unless CURSOR WINDOW
//                                      wait until the pointer shows another
//                                      cursor (an operation is under way), then
//                                      close the window at once
//
// The waits give up after 60 seconds (status 1).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace {

template<typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template<typename T>
Reply<T> reply(T* pointer)
{
    return Reply<T>(pointer, &std::free);
}

class Display {
public:
    explicit Display(xcb_window_t window)
        : connection_(xcb_connect(nullptr, nullptr))
        , window_(window)
    {
        if (xcb_connection_has_error(connection_))
            return;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        protocols_ = atom("WM_PROTOCOLS");
        // The program answers a ping by sending it on to the root window.
        const uint32_t events = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &events);
        reply(xcb_xfixes_query_version_reply(
            connection_, xcb_xfixes_query_version(connection_, 4, 0), nullptr));
    }
    ~Display() { xcb_disconnect(connection_); }

    bool ok() const { return !xcb_connection_has_error(connection_); }

    // The window's protocol message named `name`, with `stamp` as its time.
    void send(const char* name, uint32_t stamp)
    {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window_;
        message.type = protocols_;
        message.data.data32[0] = atom(name);
        message.data.data32[1] = stamp;
        message.data.data32[2] = window_;
        xcb_send_event(connection_, 0, window_, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(connection_);
    }

    // Pings the program and waits for its answer.
    bool ping()
    {
        const uint32_t stamp = ++pings_;
        send("_NET_WM_PING", stamp);
        while (auto event = reply(xcb_wait_for_event(connection_))) {
            if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
                continue;
            const auto* answer = reinterpret_cast<xcb_client_message_event_t*>(event.get());
            if (answer->type == protocols_ && answer->data.data32[1] == stamp)
                return true;
        }
        return false;
    }

    // The cursor that the pointer shows now, 0 when it cannot be read.
    uint32_t cursor()
    {
        const auto image = reply(xcb_xfixes_get_cursor_image_reply(
            connection_, xcb_xfixes_get_cursor_image(connection_), nullptr));
        return image ? image->cursor_serial : 0;
    }

    // A round trip: what was sent has reached the server when the answer comes.
    bool sync()
    {
        return reply(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_),
                                               nullptr)) != nullptr;
    }

private:
    xcb_atom_t atom(const char* name)
    {
        const auto answer = reply(xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, std::strlen(name), name), nullptr));
        return answer ? answer->atom : XCB_ATOM_NONE;
    }

    xcb_connection_t* connection_;
    xcb_window_t window_;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    xcb_atom_t protocols_ = XCB_ATOM_NONE;
    uint32_t pings_ = 0;
};

// Pings and reads the cursor until `wanted` holds for it, within 30 seconds.
template<typename Wanted>
bool waitFor(Display& display, Wanted wanted)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        if (!display.ping())
            return false;
        if (wanted(display.cursor()))
            return true;
    }
    return false;
}

int usage()
{
    std::fprintf(stderr, "usage: closewindow [--ping | --cursor | --until CURSOR | "
                         "--close-unless CURSOR] WINDOW\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 2 ? argv[1] : "";
    const bool takesCursor = mode == "--until" || mode == "--close-unless";
    const bool alone = mode == "--cursor" || mode == "--ping";
    const int expected = takesCursor ? 4 : alone ? 3 : mode.empty() ? 2 : 0;
    if (argc != expected)
        return usage();
    const uint32_t cursor = takesCursor ? std::strtoul(argv[2], nullptr, 0) : 0;
    Display display(static_cast<xcb_window_t>(std::strtoul(argv[argc - 1], nullptr, 0)));
    if (!display.ok()) {
        std::fprintf(stderr, "closewindow: no display\n");
        return 1;
    }
    if (mode == "--ping")
        return display.ping() ? 0 : 1;
    if (mode == "--cursor") {
        if (!display.ping())
            return 1;
        std::printf("%u\n", display.cursor());
        return 0;
    }
    if (mode == "--until")
        return waitFor(display, [&](uint32_t shown) { return shown == cursor; }) ? 0 : 1;
    if (mode == "--close-unless" &&
        !waitFor(display, [&](uint32_t shown) { return shown != cursor; }))
        return 1;
    display.send("WM_DELETE_WINDOW", XCB_CURRENT_TIME);
    return display.sync() ? 0 : 1;
}
