// Writes the names of the bundled character's animations, one a line, for
// `orvo check`: node tools/export-animations.mjs ANIMATIONS.JS OUTPUT
import { writeFileSync } from "node:fs";
import { pathToFileURL } from "node:url";

const [source, output] = process.argv.slice(2);
if (!source || !output) {
    console.error("usage: node tools/export-animations.mjs animations.js animations.txt");
    process.exit(2);
}
const { animationNames } = await import(pathToFileURL(source).href);
writeFileSync(output, animationNames().map((name) => `${name}\n`).join(""));
