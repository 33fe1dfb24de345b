// What the runtime offers to whoever drives it: in a browser this is
// window.OrvoPlayer (with `boot`, and the pieces for inspection).

import { FRAME_SIZE } from "./agentcharacter.js";
import { AgentControl } from "./agentcontrol.js";
import { ANIMATIONS, lookupAnimation, poseAt, REST_POSE, resolveAnimationKey } from "./animations.js";
import { CHARACTER_SVG } from "./characterart.js";
import { RealClock, VirtualClock } from "./clock.js";
import {
    pageBalloonWords,
    placeBalloon,
    placeCommands,
    placeFrame,
    VIRTUAL_HEIGHT,
    VIRTUAL_WIDTH,
    viewportMapping,
} from "./layout.js";
import { readPlayerOptions } from "./options.js";
import { bootPage, findPageScripts } from "./pageboot.js";
import { createPagePlayer } from "./pageplayer.js";
import { parseSpeechText, planSpeech, shownSpeechText } from "./speechtext.js";
import { Stage } from "./stage.js";
import { Tracer } from "./tracer.js";
import { translateVBScript } from "./vbcodegen.js";
import { VBEngine } from "./vbengine.js";
import { VBSyntaxError } from "./vblexer.js";
import { parseVBScript } from "./vbparser.js";
import { VBError } from "./vbvalues.js";

export const ORVO_PLAYER_API = {
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
    pageBalloonWords,
    VIRTUAL_WIDTH,
    VIRTUAL_HEIGHT,
};
