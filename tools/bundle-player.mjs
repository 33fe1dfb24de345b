#!/usr/bin/env node
// Bundles the agent runtime's ES modules into the one classic script that
// pages load and the shell injects:
//
//   node tools/bundle-player.mjs src/player/main.js build/.../orvo-player.js
//
// Starting from the entry module, every module reached through its imports
// becomes a function scope of its own that returns its exports; modules run
// in dependency order, as a browser would run them. Only the forms the
// runtime uses are accepted, and anything else fails the build instead of
// making a bundle that behaves differently:
//   import { a, b as c } from "./file.js";
//   export const|let|class|function|async function name ...
// The bundle is pure ASCII (every other character becomes a \u escape), so
// that it runs the same in a page of any code page, with or without a
// charset on its script tag.

import fs from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";

const IMPORT = /^import\s*\{([^}]*)\}\s*from\s*"(\.{1,2}\/[^"]+)"\s*;?[ \t]*$/gm;
const EXPORT_DECLARATION = /^export\s+(?:async\s+)?(?:const|let|class|function\*?)\s+([A-Za-z_$][\w$]*)/gm;
const ANY_IMPORT_OR_EXPORT = /^(?:import|export)\b.*$/gm;

class BundleError extends Error {}

function fail(file, message) {
    throw new BundleError(`${file}: ${message}`);
}

// The imported names of one `{ ... }` list: [{ name, local }].
function importedNames(file, list) {
    return list
        .split(",")
        .map((entry) => entry.trim())
        .filter((entry) => entry !== "")
        .map((entry) => {
            const match = /^([A-Za-z_$][\w$]*)(?:\s+as\s+([A-Za-z_$][\w$]*))?$/.exec(entry);
            if (match === null) fail(file, `cannot read the imported name "${entry}"`);
            return { name: match[1], local: match[2] || match[1] };
        });
}

// Reads one module: its imports, its exported names, and its code with the
// import statements taken out and the export keywords dropped.
function readModule(file) {
    const source = fs.readFileSync(file, "utf8");
    const imports = [];
    let code = source.replace(IMPORT, (whole, list, from) => {
        imports.push({ from: path.resolve(path.dirname(file), from), names: importedNames(file, list) });
        return "";
    });
    const exports = [];
    code = code.replace(EXPORT_DECLARATION, (whole, name) => {
        exports.push(name);
        return whole.replace(/^export\s+/, "");
    });
    const leftover = code.match(ANY_IMPORT_OR_EXPORT);
    if (leftover !== null) fail(file, `unsupported module syntax: ${leftover[0]}`);
    return { file, imports, exports, code };
}

// Every module reached from the entry, each after the modules it imports.
function collectModules(entry) {
    const modules = new Map();
    const order = [];
    const visiting = [];
    const visit = (file) => {
        if (modules.has(file)) return;
        if (visiting.includes(file)) {
            const cycle = [...visiting.slice(visiting.indexOf(file)), file].map((f) => path.basename(f));
            throw new BundleError(`import cycle: ${cycle.join(" -> ")}`);
        }
        if (!fs.existsSync(file)) fail(visiting.at(-1) || file, `imports a missing module ${file}`);
        visiting.push(file);
        const module = readModule(file);
        for (const { from } of module.imports) visit(from);
        visiting.pop();
        modules.set(file, module);
        order.push(module);
    };
    visit(path.resolve(entry));
    for (const module of order) {
        for (const { from, names } of module.imports) {
            const target = modules.get(from);
            for (const { name } of names) {
                if (!target.exports.includes(name)) {
                    fail(module.file, `imports ${name}, which ${path.basename(from)} does not export`);
                }
            }
        }
    }
    return order;
}

// Every character outside ASCII as a \u escape (astral ones as a surrogate
// pair, which strings, templates and regular expressions, with or without
// the u flag, read back as the same character). A backslash that escaped the
// character itself (an identity escape like \」) goes, or it would escape the
// new escape's backslash instead.
export function escapeNonAscii(text) {
    let out = "";
    for (let i = 0; i < text.length; ++i) {
        const code = text.charCodeAt(i);
        if (code < 0x80) {
            out += text[i];
            continue;
        }
        let backslashes = 0;
        while (backslashes < out.length && out[out.length - 1 - backslashes] === "\\") backslashes += 1;
        if (backslashes % 2 === 1) out = out.slice(0, -1);
        out += `\\u${code.toString(16).padStart(4, "0")}`;
    }
    return out;
}

const scopeName = (module, root) =>
    `module_${path
        .relative(root, module.file)
        .replace(/\.js$/, "")
        .replace(/[^A-Za-z0-9]/g, "_")}`;

export function bundle(entry) {
    const modules = collectModules(entry);
    const root = path.dirname(path.resolve(entry));
    const names = new Map(modules.map((module) => [module.file, scopeName(module, root)]));
    let text = "// ViewOrvo agent runtime: plays converted presentations in a browser engine.\n";
    text += "// Built from src/player; edit the sources there, not this file.\n";
    text += '(function () {\n"use strict";\n';
    for (const module of modules) {
        text += `\n// ---- ${path.relative(root, module.file)}\n`;
        text += `const ${names.get(module.file)} = (() => {\n`;
        for (const { from, names: imported } of module.imports) {
            const list = imported.map(({ name, local }) => (name === local ? name : `${name}: ${local}`));
            text += `const { ${list.join(", ")} } = ${names.get(from)};\n`;
        }
        text += module.code.replace(/\s*$/, "\n");
        text += `return { ${module.exports.join(", ")} };\n})();\n`;
    }
    text += "})();\n";
    return escapeNonAscii(text);
}

function main(argv) {
    if (argv.length !== 2) {
        process.stderr.write("usage: bundle-player.mjs ENTRY.js OUT.js\n");
        return 2;
    }
    const [entry, out] = argv;
    try {
        const text = bundle(entry);
        fs.mkdirSync(path.dirname(path.resolve(out)), { recursive: true });
        fs.writeFileSync(`${out}.tmp`, text);
        fs.renameSync(`${out}.tmp`, out);
        return 0;
    } catch (error) {
        if (!(error instanceof BundleError) && error.code !== "ENOENT") throw error;
        process.stderr.write(`bundle-player: ${error.message}\n`);
        return 1;
    }
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
    process.exitCode = main(process.argv.slice(2));
}
