// A character's word balloon as the page's script sees it (the control's
// Balloon object): whether it shows, its font, and how much text it holds
// at once (NumberOfLines lines of CharsPerLine characters; a longer speech
// pages through). The stage reads it each time it draws a balloon.

import { vbToBoolean, vbToNumber, vbToString } from "./vbvalues.js";

// Style bits, as the control defines them.
export const BALLOON_ON = 1;
export const BALLOON_SIZE_TO_TEXT = 2;
export const BALLOON_AUTO_HIDE = 4;
export const BALLOON_AUTO_PACE = 8;

export const BALLOON_DEFAULT_LINES = 3;
export const BALLOON_DEFAULT_CHARS = 32;

const clampInt = (value, low, high) => Math.min(high, Math.max(low, Math.round(vbToNumber(value))));

export class AgentBalloon {
    constructor(character) {
        this._character = character;
        this._style = BALLOON_ON | BALLOON_AUTO_HIDE | BALLOON_AUTO_PACE;
        this._lines = BALLOON_DEFAULT_LINES;
        this._chars = BALLOON_DEFAULT_CHARS;
        this._fontName = "";
        this._fontSize = 0; // 0: the stage's own size for the viewport
        this._fontBold = false;
        this._fontItalic = false;
    }

    // Whether a balloon shows at all (Style's BalloonOn bit); hiding it
    // takes the one on screen away.
    get Visible() {
        return (this._style & BALLOON_ON) !== 0;
    }

    set Visible(value) {
        this.Style = vbToBoolean(value) ? this._style | BALLOON_ON : this._style & ~BALLOON_ON;
    }

    get Enabled() {
        return true;
    }

    get Style() {
        return this._style;
    }

    set Style(value) {
        this._style = Math.round(vbToNumber(value)) & 0xffff;
        this._character._balloonChanged();
    }

    get NumberOfLines() {
        return this._lines;
    }

    set NumberOfLines(value) {
        this._lines = clampInt(value, 1, 128);
    }

    get CharsPerLine() {
        return this._chars;
    }

    set CharsPerLine(value) {
        this._chars = clampInt(value, 8, 255);
    }

    get FontName() {
        return this._fontName;
    }

    set FontName(value) {
        this._fontName = vbToString(value);
    }

    get FontSize() {
        return this._fontSize;
    }

    set FontSize(value) {
        this._fontSize = clampInt(value, 0, 96);
    }

    get FontBold() {
        return this._fontBold;
    }

    set FontBold(value) {
        this._fontBold = vbToBoolean(value);
    }

    get FontItalic() {
        return this._fontItalic;
    }

    set FontItalic(value) {
        this._fontItalic = vbToBoolean(value);
    }

    // What the stage needs to draw a balloon.
    _look() {
        return {
            on: this.Visible,
            lines: this._lines,
            chars: this._chars,
            fontName: this._fontName,
            fontSize: this._fontSize,
            bold: this._fontBold,
            italic: this._fontItalic,
        };
    }
}
