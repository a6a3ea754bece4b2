// Validates glTF files (.glb, or .gltf with the files beside it) with the
// Khronos validator and prints one line per file:
//   FILE: N errors, N warnings, N infos, N hints
// followed by the message of every error and warning. Exits 1 when any file
// has an error or a warning, 2 when the validator is missing.
'use strict';
const fs = require('fs');
const path = require('path');

let validator;
try {
  validator = require('gltf-validator');
} catch (e) {
  console.log('gltf-validator is not installed (scripts/deps.sh --node-prefix BUILD/node test): ' +
              e.message);
  process.exit(2);
}

async function validate(file) {
  const folder = path.dirname(file);
  const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
    uri: path.basename(file),
    maxIssues: 0,
    externalResourceFunction: (uri) =>
      fs.promises.readFile(path.join(folder, decodeURIComponent(uri))).then((d) => new Uint8Array(d)),
  });
  const issues = report.issues;
  console.log(`${file}: ${issues.numErrors} errors, ${issues.numWarnings} warnings, ` +
              `${issues.numInfos} infos, ${issues.numHints} hints`);
  for (const message of issues.messages) {
    if (message.severity <= 1) console.log(`  ${message.code} ${message.pointer || ''} ${message.message}`);
  }
  return issues.numErrors + issues.numWarnings === 0;
}

(async () => {
  let clean = true;
  for (const file of process.argv.slice(2)) clean = (await validate(file)) && clean;
  process.exit(clean ? 0 : 1);
})();
