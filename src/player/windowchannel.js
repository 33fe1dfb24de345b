// The window's objects on the page's web channel: inside ViewOrvo the page
// finds the window's voice ("orvoVoice") and hearing ("orvoHearing") there.
// The main page opens its channel once for all its users; a page in a frame
// (the debug mode shows the pages in one) has no channel of its own and
// uses the main page's, which that page shares on its OrvoPlayer.

// The main page's own channel, opened on first use; null without one.
function ownChannel(win) {
    const transport = win.qt?.webChannelTransport;
    if (typeof win.QWebChannel !== "function" || !transport) return null;
    if (win.OrvoPlayer?.windowChannel) return win.OrvoPlayer.windowChannel;
    const shared = { objects: null, waiting: [], nextId: 1 };
    if (win.OrvoPlayer) win.OrvoPlayer.windowChannel = shared;
    new win.QWebChannel(transport, (channel) => {
        shared.objects = channel.objects;
        for (const waiter of shared.waiting.splice(0)) waiter(shared.objects);
    });
    return shared;
}

// Calls use(objects) once the channel is up (at once when it is). Null when
// there is no window to wait for (a plain browser); else the shared state,
// whose nextId numbers what the pages of all the frames send the window.
export function reachWindow(win, use) {
    let shared = ownChannel(win);
    if (shared === null) {
        try {
            if (win.top !== win && win.top.OrvoPlayer) shared = win.top.OrvoPlayer.windowChannel || null;
        } catch {
            shared = null; // a main page of another origin
        }
    }
    if (shared === null) return null;
    if (shared.objects !== null) use(shared.objects);
    else shared.waiting.push(use);
    return shared;
}
