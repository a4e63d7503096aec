// Top-level windows of the X server, through a connection of our own (not Qt's, which may not
// exist or may be offscreen).
//
// The list is the window manager's _NET_CLIENT_LIST when a live EWMH window manager announces
// itself (_NET_SUPPORTING_WM_CHECK). Without one, it is built from the root window's children:
// a child that carries WM_STATE is a client window; a child without it that holds client
// windows further down (a frame of a non-EWMH manager) stands for those; any other mapped child
// that is not override-redirect (no manager at all) is a client window itself. So a window
// leaves the list when it is destroyed or withdrawn, which is what "gone" means below.
// Titles: _NET_WM_NAME (UTF-8), else WM_NAME, turned into Windows-1252 and cut to 255.

#include "platform/RealParts.h"

#include "core/Text.h"

#include <QString>

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace kx::real {

namespace {

// One short-lived connection; ok() is false when there is no X server to talk to.
class X {
public:
    X() {
        c_ = xcb_connect(nullptr, &screenNum_);
        if (!c_ || xcb_connection_has_error(c_)) return;
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
        for (int i = 0; i < screenNum_ && it.rem; ++i) xcb_screen_next(&it);
        if (!it.rem) return;
        screen_ = it.data;
        xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(c_, &ewmh_);
        ewmhOk_ = cookies && xcb_ewmh_init_atoms_replies(&ewmh_, cookies, nullptr);
        wmState_ = atom("WM_STATE");
        wmDelete_ = atom("WM_DELETE_WINDOW");
        ok_ = ewmhOk_;
    }
    ~X() {
        if (ewmhOk_) xcb_ewmh_connection_wipe(&ewmh_);
        if (c_) xcb_disconnect(c_);
    }
    X(const X&) = delete;
    X& operator=(const X&) = delete;

    bool ok() const { return ok_; }
    xcb_connection_t* c() const { return c_; }
    xcb_window_t root() const { return screen_->root; }
    int screenNum() const { return screenNum_; }
    xcb_ewmh_connection_t* ewmh() { return &ewmh_; }
    xcb_atom_t wmState() const { return wmState_; }
    xcb_atom_t wmDelete() const { return wmDelete_; }

    xcb_atom_t atom(const char* name) {
        xcb_intern_atom_reply_t* r =
            xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        return a;
    }

    // A live EWMH window manager: the check window names itself.
    bool managerPresent() {
        xcb_window_t w = 0, w2 = 0;
        if (!xcb_ewmh_get_supporting_wm_check_reply(&ewmh_, xcb_ewmh_get_supporting_wm_check(&ewmh_, root()), &w,
                                                    nullptr))
            return false;
        if (!xcb_ewmh_get_supporting_wm_check_reply(&ewmh_, xcb_ewmh_get_supporting_wm_check(&ewmh_, w), &w2,
                                                    nullptr))
            return false;
        return w == w2;
    }

private:
    xcb_connection_t* c_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
    int screenNum_ = 0;
    xcb_ewmh_connection_t ewmh_{};
    bool ewmhOk_ = false, ok_ = false;
    xcb_atom_t wmState_ = XCB_ATOM_NONE, wmDelete_ = XCB_ATOM_NONE;
};

std::vector<xcb_window_t> children(X& x, xcb_window_t w) {
    std::vector<xcb_window_t> out;
    xcb_query_tree_reply_t* r = xcb_query_tree_reply(x.c(), xcb_query_tree(x.c(), w), nullptr);
    if (!r) return out;
    const xcb_window_t* k = xcb_query_tree_children(r);
    out.assign(k, k + xcb_query_tree_children_length(r));
    std::free(r);
    return out;
}

bool hasProperty(X& x, xcb_window_t w, xcb_atom_t prop) {
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(x.c(), xcb_get_property(x.c(), 0, w, prop, XCB_GET_PROPERTY_TYPE_ANY, 0, 0), nullptr);
    const bool has = r && r->type != XCB_ATOM_NONE;
    std::free(r);
    return has;
}

// Client windows below w (depth-first, a few levels: frames are shallow).
void clientsBelow(X& x, xcb_window_t w, int depth, std::vector<xcb_window_t>& out) {
    if (depth > 4) return;
    for (const xcb_window_t k : children(x, w)) {
        if (hasProperty(x, k, x.wmState())) out.push_back(k);
        else clientsBelow(x, k, depth + 1, out);
    }
}

std::vector<xcb_window_t> clientWindows(X& x) {
    if (x.managerPresent()) {
        xcb_ewmh_get_windows_reply_t list;
        if (xcb_ewmh_get_client_list_reply(x.ewmh(), xcb_ewmh_get_client_list(x.ewmh(), x.screenNum()), &list,
                                           nullptr)) {
            std::vector<xcb_window_t> out(list.windows, list.windows + list.windows_len);
            xcb_ewmh_get_windows_reply_wipe(&list);
            return out;
        }
    }
    std::vector<xcb_window_t> out;
    const auto top = children(x, x.root());
    // Ask for every child's attributes at once, then walk the answers.
    std::vector<xcb_get_window_attributes_cookie_t> attrs;
    attrs.reserve(top.size());
    for (const xcb_window_t w : top) attrs.push_back(xcb_get_window_attributes(x.c(), w));
    for (size_t i = 0; i < top.size(); ++i) {
        xcb_get_window_attributes_reply_t* a = xcb_get_window_attributes_reply(x.c(), attrs[i], nullptr);
        if (!a) continue; // destroyed meanwhile
        const bool mapped = a->map_state == XCB_MAP_STATE_VIEWABLE;
        const bool overrideRedirect = a->override_redirect;
        std::free(a);
        if (hasProperty(x, top[i], x.wmState())) {
            out.push_back(top[i]);
            continue;
        }
        std::vector<xcb_window_t> inner;
        clientsBelow(x, top[i], 1, inner);
        if (!inner.empty()) out.insert(out.end(), inner.begin(), inner.end());
        else if (mapped && !overrideRedirect) out.push_back(top[i]);
    }
    return out;
}

std::string title(X& x, xcb_window_t w) {
    // 1024 units of 4 bytes hold 255 characters in any encoding.
    auto fetch = [&](xcb_atom_t prop, xcb_atom_t type) {
        return xcb_get_property(x.c(), 0, w, prop, type, 0, 1024);
    };
    const auto netCookie = fetch(x.ewmh()->_NET_WM_NAME, x.ewmh()->UTF8_STRING);
    const auto oldCookie = fetch(XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY);
    QString text;
    bool have = false;
    if (xcb_get_property_reply_t* r = xcb_get_property_reply(x.c(), netCookie, nullptr)) {
        const int len = xcb_get_property_value_length(r);
        if (r->type == x.ewmh()->UTF8_STRING && r->format == 8 && len > 0) {
            text = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(r)), len);
            have = true;
        }
        std::free(r);
    }
    if (xcb_get_property_reply_t* r = xcb_get_property_reply(x.c(), oldCookie, nullptr)) {
        const int len = xcb_get_property_value_length(r);
        if (!have && r->format == 8 && len > 0) {
            const char* v = static_cast<const char*>(xcb_get_property_value(r));
            text = r->type == x.ewmh()->UTF8_STRING ? QString::fromUtf8(v, len) : QString::fromLatin1(v, len);
        }
        std::free(r);
    }
    std::string bytes = fromUi(text);
    if (bytes.size() > 255) bytes.resize(255);
    return bytes;
}

bool listed(X& x, xcb_window_t w) {
    const auto all = clientWindows(x);
    return std::find(all.begin(), all.end(), w) != all.end();
}

bool acceptsDelete(X& x, xcb_window_t w) {
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        x.c(), xcb_get_property(x.c(), 0, w, x.ewmh()->WM_PROTOCOLS, XCB_ATOM_ATOM, 0, 64), nullptr);
    bool yes = false;
    if (r && r->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(r));
        const int n = xcb_get_property_value_length(r) / 4;
        for (int i = 0; i < n && !yes; ++i) yes = atoms[i] == x.wmDelete();
    }
    std::free(r);
    return yes;
}

} // namespace

std::vector<TopWindow> listTopWindows() {
    X x;
    if (!x.ok()) return {};
    std::vector<TopWindow> out;
    for (const xcb_window_t w : clientWindows(x)) out.push_back({w, title(x, w)});
    return out;
}

bool closeTopWindow(std::uint64_t id) {
    X x;
    if (!x.ok() || id == 0 || id > 0xFFFFFFFFu) return false;
    const auto w = static_cast<xcb_window_t>(id);
    if (!listed(x, w)) return true; // not (or no longer) there

    if (acceptsDelete(x, w)) {
        // The ICCCM close request; the client itself answers it, no window manager needed.
        xcb_client_message_event_t ev{};
        ev.response_type = XCB_CLIENT_MESSAGE;
        ev.format = 32;
        ev.window = w;
        ev.type = x.ewmh()->WM_PROTOCOLS;
        ev.data.data32[0] = x.wmDelete();
        ev.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(x.c(), 0, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ev));
    } else if (x.managerPresent()) {
        xcb_ewmh_request_close_window(x.ewmh(), x.screenNum(), w, XCB_CURRENT_TIME,
                                      XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
    } else {
        return false; // nobody to ask
    }
    xcb_flush(x.c());

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!listed(x, w)) return true;
        // Errors of our unchecked requests (a window destroyed meanwhile) need not pile up.
        while (xcb_generic_event_t* e = xcb_poll_for_event(x.c())) std::free(e);
        if (xcb_connection_has_error(x.c())) return false;
    }
    return !listed(x, w);
}

} // namespace kx::real
