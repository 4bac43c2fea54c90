#!/usr/bin/env node
// cp932-literals.js - copies a C++ source with every non-ASCII string or character literal
// rewritten as code page 932 escapes, for compilers that cannot convert literals themselves.
//
//   node web/cp932-literals.js IN OUT
//
// The sources are UTF-8 and the native and Windows builds have GCC turn their literals into
// code page 932 (-fexec-charset=CP932). clang, under the WebAssembly compiler, keeps literals as
// UTF-8, so the web build compiles copies in which each run of non-ASCII text inside a literal
// is spelled as \x escapes of its code page 932 bytes, converted by the same iconv that GCC
// uses. Comments and everything outside literals stay as they are.
'use strict';
const fs = require('fs');
const { execFileSync } = require('child_process');

// The code page 932 bytes of a UTF-8 text; iconv refuses what the code page cannot hold,
// as GCC does.
function toCp932(text) {
  return execFileSync('iconv', ['-f', 'UTF-8', '-t', 'CP932'], { input: Buffer.from(text, 'utf8') });
}

// Rewrites the body of one literal (between its quotes). Each run of non-ASCII characters
// becomes \x escapes; a quote pair is closed and opened again after them when a hex digit
// follows, so the escape ends where it should (adjacent string literals are joined).
function rewriteBody(body, quote) {
  let out = '';
  const runs = body.split(/([^\x00-\x7f]+)/);
  runs.forEach((run, index) => {
    if (index % 2 === 0) {
      out += run;
      return;
    }
    out += Array.from(toCp932(run), (byte) => '\\x' + byte.toString(16).padStart(2, '0')).join('');
    const next = runs[index + 1] || '';
    if (/^[0-9a-fA-F]/.test(next)) {
      if (quote !== '"') throw new Error('a hex digit after a converted character literal');
      out += '" "';
    }
  });
  return out;
}

// Walks the source once: comments are copied, literals are rewritten, the rest is copied.
function convert(source) {
  let out = '';
  let i = 0;
  while (i < source.length) {
    const two = source.slice(i, i + 2);
    let end;
    if (two === '//') {
      end = source.indexOf('\n', i);
      end = end < 0 ? source.length : end;
    } else if (two === '/*') {
      end = source.indexOf('*/', i + 2) + 2;
      if (end < 2) throw new Error('an unterminated comment');
    } else if (source[i] === '"' || source[i] === "'") {
      const quote = source[i];
      let j = i + 1;
      while (j < source.length && source[j] !== quote) {
        if (source[j] === '\n') throw new Error('a line feed inside a literal');
        j += source[j] === '\\' ? 2 : 1;
      }
      out += quote + rewriteBody(source.slice(i + 1, j), quote) + quote;
      i = j + 1;
      continue;
    } else {
      end = i + 1;
    }
    out += source.slice(i, end);
    i = end;
  }
  return out;
}

const [input, output] = process.argv.slice(2);
try {
  fs.writeFileSync(output, convert(fs.readFileSync(input, 'utf8')));
} catch (error) {
  console.error(`${input}: ${error.message}`);
  process.exit(1);
}
