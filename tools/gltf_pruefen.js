// Runs the Khronos glTF validator on each file given and prints its report
// summary (and every message) per file; exits 1 when any file has an error
// or a warning, 2 when a file cannot be read.
'use strict';
const fs = require('fs');
const validator = require('gltf-validator');

async function pruefen(datei) {
  const bericht = await validator.validateBytes(new Uint8Array(fs.readFileSync(datei)), {
    uri: datei,
    maxIssues: 0,
  });
  const z = bericht.issues;
  console.log(`${datei}: ${z.numErrors} errors, ${z.numWarnings} warnings, ` +
              `${z.numInfos} infos, ${z.numHints} hints; ` +
              `${bericht.info.totalTriangleCount} triangles, ` +
              `${bericht.info.totalVertexCount} vertices, ` +
              `${bericht.info.animationCount} animations, ${bericht.info.maxAttributes} attributes`);
  for (const m of z.messages) console.log(`  ${m.code} (${m.severity}): ${m.message} ${m.pointer || ''}`);
  return z.numErrors === 0 && z.numWarnings === 0;
}

(async () => {
  let gut = true;
  for (const datei of process.argv.slice(2)) {
    try {
      gut = (await pruefen(datei)) && gut;
    } catch (e) {
      console.log(`${datei}: cannot be read: ${e.message || e}`);
      process.exit(2);
    }
  }
  process.exit(gut ? 0 : 1);
})();
