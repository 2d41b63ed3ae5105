// Builds the world map's coastline file (Config/Earth/Data/coast.vec) from
// Natural Earth's 1:50m land outlines, as packaged in world-atlas's
// land-50m.json.
//
//   node make_coast.mjs [output]     default: standin/Config/Earth/Data/coast.vec
//
// Output format, one item per line, LF line ends:
//
//   T                      header: the total number of points, so that a
//                          reader that allocates that many (the simulator's
//                          Map MFD does) has room for every point
//   N                      number of polylines
//   m                      point count of the first polyline
//   <lon> <lat>            m lines, decimal degrees, east and north positive
//   m ...                  and so on for the other polylines
//
// The outlines come from topojson-client's mesh() of the "land" object: every
// arc of the topology once, stitched into line strings. Land has no shared
// borders, so this is the same set of edges as the polygon rings, but nothing
// can ever be drawn twice. Each line string from the mesh is a closed ring.
//
// The map draws each polyline as it is, so a polyline must never have a
// segment that jumps from one side of the 180 degree meridian to the other.
// Rings that cross it are cut there: the latitude where the segment meets the
// meridian is interpolated, the current piece ends at +-180 on the side it came
// from and the next one starts at -+180. A closed ring that crosses is first
// rotated to start at a crossing, so that it falls apart into as few pieces as
// there are crossings and no piece ends at an arbitrary point. Rings that don't
// cross stay closed (first point repeated last).
//
// world-atlas has stitched Natural Earth's cuts along the antimeridian and the
// south pole; what remains of the pole cut is a ring that runs along latitude
// -89.999 all round the globe. It is no coastline (on the map it would be a
// line along the bottom edge), so segments that lie at the pole are dropped.
//
// Coordinates are written with 3 decimals, trailing zeros trimmed; the map
// keeps thousandths of a degree. Points that repeat the one before after
// rounding are dropped, as are pieces left with fewer than 2 points. The
// output depends only on the input data, so the same input gives a
// byte-identical file.

import { readFileSync, writeFileSync, mkdirSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { mesh } from 'topojson-client';
import { checkCoastFile, checkCoastText, summary } from './check_coast.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const require = createRequire(import.meta.url);

// A segment whose two ends are both this close to a pole lies along the map's
// top or bottom edge.
const POLE_LAT = 89.99;

const isPolar = (a, b) => Math.abs(a[1]) >= POLE_LAT && Math.abs(b[1]) >= POLE_LAT && Math.sign(a[1]) === Math.sign(b[1]);
const crosses = (a, b) => Math.abs(b[0] - a[0]) > 180;
const isBreak = (a, b) => isPolar(a, b) || crosses(a, b);

// Where segment a->b (which crosses) meets the meridian: the side a is on
// (+180 or -180), and the latitude there.
function meridianCrossing(a, b) {
  const side = a[0] > b[0] ? 180 : -180; // a east of b: a is near +180
  const bLon = b[0] + 2 * side; // b unwrapped to a's side of the meridian
  let lat;
  if (a[0] === side) lat = a[1];
  else if (bLon === side) lat = b[1];
  else lat = a[1] + ((side - a[0]) / (bLon - a[0])) * (b[1] - a[1]);
  return { side, lat };
}

// Cuts one line string at every break; `points` is walked as an open
// sequence. Returns the pieces (raw coordinates, not yet rounded).
function walk(points) {
  const pieces = [];
  let cur = [points[0]];
  for (let i = 1; i < points.length; i++) {
    const a = points[i - 1];
    const b = points[i];
    if (isPolar(a, b)) {
      pieces.push(cur);
      cur = [b];
    } else if (crosses(a, b)) {
      const { side, lat } = meridianCrossing(a, b);
      cur.push([side, lat]);
      pieces.push(cur);
      cur = [[-side, lat], b];
    } else {
      cur.push(b);
    }
  }
  pieces.push(cur);
  return pieces;
}

function samePoint(a, b) {
  return a[0] === b[0] && a[1] === b[1];
}

// Splits one line string into pieces that can be drawn as they are.
function cutLine(points) {
  const n = points.length;
  const closed = n > 2 && samePoint(points[0], points[n - 1]);
  let first = -1;
  for (let i = 1; i < n; i++) {
    if (isBreak(points[i - 1], points[i])) {
      first = i;
      break;
    }
  }
  if (first < 0) return [points];
  if (!closed) return walk(points);

  // Closed ring: start at the end of the first break and go once round, so the
  // ring's last segment is that break. The piece the walk opens at that last
  // break is the head of the first piece.
  const ring = points.slice(first, n - 1).concat(points.slice(0, first));
  ring.push(ring[0]);
  const pieces = walk(ring);
  const head = pieces.pop();
  pieces[0] = head.concat(pieces[0].slice(1));
  return pieces;
}

// Thousandths of a degree as an integer, so that equality and output are exact.
const milli = (v) => Math.round(v * 1000);

function formatMilli(m) {
  if (m === 0) return '0';
  const sign = m < 0 ? '-' : '';
  const abs = Math.abs(m);
  const whole = Math.floor(abs / 1000);
  const frac = String(abs % 1000).padStart(3, '0').replace(/0+$/, '');
  return frac ? `${sign}${whole}.${frac}` : `${sign}${whole}`;
}

// Rounds a piece to thousandths and drops points that repeat the previous one.
function roundPiece(piece) {
  const out = [];
  for (const [lon, lat] of piece) {
    const p = [milli(lon), milli(lat)];
    if (out.length && samePoint(out[out.length - 1], p)) continue;
    out.push(p);
  }
  return out;
}

export function buildCoast(topology) {
  const lines = mesh(topology, topology.objects.land).coordinates;
  const polylines = [];
  for (const line of lines) {
    for (const piece of cutLine(line)) {
      const rounded = roundPiece(piece);
      if (rounded.length >= 2) polylines.push(rounded);
    }
  }
  const total = polylines.reduce((sum, pl) => sum + pl.length, 0);
  const out = [String(total), String(polylines.length)];
  for (const pl of polylines) {
    out.push(String(pl.length));
    for (const [lon, lat] of pl) out.push(`${formatMilli(lon)} ${formatMilli(lat)}`);
  }
  return out.join('\n') + '\n';
}

function main() {
  const outFile = path.resolve(process.argv[2] ?? path.join(here, '../../standin/Config/Earth/Data/coast.vec'));
  const topology = JSON.parse(readFileSync(require.resolve('world-atlas/land-50m.json'), 'utf8'));
  const text = buildCoast(topology);
  checkCoastText(text); // nothing broken gets written
  mkdirSync(path.dirname(outFile), { recursive: true });
  writeFileSync(outFile, text);
  // Read back what landed on disk and check it again.
  const stats = checkCoastFile(outFile);
  const shown = path.relative(process.cwd(), outFile);
  console.log(summary(shown && !shown.startsWith('..') ? shown : outFile, stats));
}

main();
