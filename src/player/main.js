// The bundle's entry: starts the runtime on the page that loaded it (unless
// ORVO_PLAYER_OPTIONS.autoStart is false or the script tag says
// data-auto-start="false") and leaves window.OrvoPlayer for inspection.

import { ORVO_PLAYER_API } from "./api.js";
import { bootPage } from "./pageboot.js";

if (typeof window === "object" && window !== null && window.document) {
    const script = window.document.currentScript;
    window.OrvoPlayer = Object.assign(window.OrvoPlayer || {}, ORVO_PLAYER_API);
    const injected = window.ORVO_PLAYER_OPTIONS || {};
    const autoStart = injected.autoStart !== false && !(script && script.getAttribute("data-auto-start") === "false");
    if (autoStart) bootPage(window, script);
}
