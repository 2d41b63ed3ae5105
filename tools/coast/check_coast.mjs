// Re-reads a coast.vec file and checks that the map can draw it as it is:
//
//   line 1     the header: the total number of points of all polylines
//   line 2     N, the number of polylines
//   then N times: a point count m (at least 2), then m lines "<lon> <lat>"
//
// Every coordinate must be in range, no segment may jump across the map
// (|delta lon| > 180), and every polyline is either closed (first point ==
// last point) or an open piece of an outline that was cut at the 180 degree
// meridian, in which case both of its ends lie on +-180.
//
// Run on its own:  node check_coast.mjs [path/to/coast.vec]

import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import path from 'node:path';

const POINT_LINE = /^-?\d{1,3}(\.\d{1,3})? -?\d{1,2}(\.\d{1,3})?$/;
const COUNT_LINE = /^[1-9]\d*$/;

// Returns { polylines, points, closed, open, bytes }; throws an Error naming
// the offending line on the first problem found.
export function checkCoastText(text) {
  const bytes = Buffer.byteLength(text, 'utf8');
  if (text.includes('\r')) throw new Error('file contains CR characters; lines must end in LF only');
  if (!text.endsWith('\n')) throw new Error('file does not end with a newline');
  const lines = text.slice(0, -1).split('\n');
  let at = 0;
  const fail = (msg) => {
    throw new Error(`line ${at}: ${msg}`);
  };
  const next = () => {
    if (at >= lines.length) {
      at = lines.length + 1;
      fail('unexpected end of file');
    }
    return lines[at++];
  };

  const headerLine = next();
  if (!COUNT_LINE.test(headerLine)) fail(`bad header "${headerLine}"`);
  const header = Number(headerLine);
  const nLine = next();
  if (!COUNT_LINE.test(nLine)) fail(`bad polyline count "${nLine}"`);
  const n = Number(nLine);

  let points = 0;
  let closed = 0;
  let open = 0;
  for (let k = 0; k < n; k++) {
    const mLine = next();
    if (!COUNT_LINE.test(mLine)) fail(`polyline ${k}: bad point count "${mLine}"`);
    const m = Number(mLine);
    if (m < 2) fail(`polyline ${k}: fewer than 2 points`);
    const lon = new Array(m);
    const lat = new Array(m);
    for (let i = 0; i < m; i++) {
      const p = next();
      if (!POINT_LINE.test(p)) fail(`polyline ${k}: bad point line "${p}" (expected ${m} points)`);
      const [x, y] = p.split(' ').map(Number);
      if (x < -180 || x > 180) fail(`longitude ${x} out of range`);
      if (y < -90 || y > 90) fail(`latitude ${y} out of range`);
      if (i > 0) {
        if (Math.abs(x - lon[i - 1]) > 180) fail(`segment jumps across the map (${lon[i - 1]} -> ${x})`);
        if (x === lon[i - 1] && y === lat[i - 1]) fail('point repeats the one before it');
      }
      lon[i] = x;
      lat[i] = y;
    }
    points += m;
    if (lon[0] === lon[m - 1] && lat[0] === lat[m - 1]) {
      closed++;
    } else if (Math.abs(lon[0]) === 180 && Math.abs(lon[m - 1]) === 180) {
      open++;
    } else {
      fail(`polyline ${k} is neither closed nor cut at the 180 degree meridian at both ends`);
    }
  }
  if (header !== points) {
    at = 1;
    fail(`header ${header} is not the total number of points, ${points}`);
  }
  if (at !== lines.length) {
    at++;
    fail(`${lines.length - at + 1} line(s) after the last polyline`);
  }
  return { polylines: n, points, closed, open, bytes };
}

export function checkCoastFile(file) {
  return checkCoastText(readFileSync(file, 'utf8'));
}

export function summary(file, s) {
  return `${file}: ${s.polylines} polylines (${s.closed} closed, ${s.open} cut at 180), ${s.points} points, ${s.bytes} bytes`;
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const here = path.dirname(fileURLToPath(import.meta.url));
  const file = process.argv[2] ?? path.resolve(here, '../../standin/Config/Earth/Data/coast.vec');
  try {
    console.log(summary(file, checkCoastFile(file)));
  } catch (e) {
    console.error(`${file}: ${e.message}`);
    process.exit(1);
  }
}
