// What the bundle offers: in a browser it starts itself on the page (unless
// ORVO_PLAYER_OPTIONS.autoStart is false or the script tag says
// data-auto-start="false") and leaves window.OrvoPlayer for inspection;
// under Node it exports the pieces for tests.

const ORVO_PLAYER_API = {
    translate: translateVBScript,
    parse: parseVBScript,
    createPagePlayer,
    findPageScripts,
    readPlayerOptions,
    boot: bootPage,
    VBEngine,
    VBError,
    VBSyntaxError,
    AgentControl,
    RealClock,
    VirtualClock,
    Tracer,
    parseSpeechText,
    planSpeech,
    shownSpeechText,
    lookupAnimation,
    resolveAnimationKey,
    poseAt,
    REST_POSE,
    ANIMATION_NAMES: Object.keys(ANIMATIONS),
    CHARACTER_SVG,
    FRAME_SIZE,
    Stage,
    viewportMapping,
    placeFrame,
    placeBalloon,
    placeCommands,
    VIRTUAL_WIDTH,
    VIRTUAL_HEIGHT,
};

const underNode = typeof process === "object" && process !== null && process.versions && process.versions.node;
if (underNode && typeof module === "object" && module !== null && module.exports) {
    module.exports = ORVO_PLAYER_API;
} else if (typeof window === "object" && window.document) {
    const script = window.document.currentScript;
    window.OrvoPlayer = Object.assign(window.OrvoPlayer || {}, ORVO_PLAYER_API);
    const injected = window.ORVO_PLAYER_OPTIONS || {};
    const autoStart = injected.autoStart !== false && !(script && script.getAttribute("data-auto-start") === "false");
    if (autoStart) bootPage(window, script);
}
