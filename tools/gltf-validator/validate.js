#!/usr/bin/env node
// Validates one .glb or .gltf file (with its buffer and images beside it)
// with the Khronos glTF validator. Prints "errors N warnings M" and every
// error and warning, one per line; exits 0 only when both counts are 0,
// 1 when there are any, 2 when the file cannot be read.
'use strict';
const fs = require('fs');
const path = require('path');
const validator = require('gltf-validator');

const file = process.argv[2];
if (!file) {
  console.error('usage: node validate.js FILE.glb|FILE.gltf');
  process.exit(2);
}
let bytes;
try {
  bytes = new Uint8Array(fs.readFileSync(file));
} catch (e) {
  console.error(`${file}: ${e.message}`);
  process.exit(2);
}
validator.validateBytes(bytes, {
  uri: path.basename(file),
  maxIssues: 0,
  externalResourceFunction: (uri) => new Promise((resolve, reject) => {
    fs.readFile(path.resolve(path.dirname(file), decodeURIComponent(uri)), (err, data) => {
      if (err) reject(err.toString()); else resolve(new Uint8Array(data));
    });
  }),
}).then((report) => {
  const issues = report.issues;
  console.log(`errors ${issues.numErrors} warnings ${issues.numWarnings}`);
  for (const m of issues.messages) {
    if (m.severity <= 1) console.log(`${m.severity === 0 ? 'error' : 'warning'} ${m.code} ${m.pointer || ''} ${m.message}`);
  }
  process.exit(issues.numErrors === 0 && issues.numWarnings === 0 ? 0 : 1);
}, (error) => {
  console.error(`${file}: ${error}`);
  process.exit(2);
});
