// The control-room page as its user meets it: korvane-serve running the
// default scenario, the page in chromium.
const { test, expect } = require('@playwright/test');
const fs = require('fs');
const path = require('path');
const { startServer } = require('./serve');

test.describe.configure({ mode: 'serial' });

let server;

test.beforeAll(async () => {
  server = await startServer();
});

test.afterAll(async () => {
  if (server)
    expect(await server.stop()).toBe(0);
});

const kAreas = ['area-1', 'area-0', 'area-2', 'area-300', 'area-303'];

async function openRoom(page) {
  await page.goto(server.url);
  for (const id of kAreas)
    await expect(page.locator('#' + id)).toHaveAttribute('data-seq', /^\d+$/);
}

async function texts(page, id) {
  return JSON.parse((await page.locator('#' + id).getAttribute('data-texts')) || '[]');
}

// A digest of the pixels a canvas shows (a band of rows, or all of it).
async function pixelDigest(page, id, rows) {
  return page.evaluate(async ({ id, rows }) => {
    const canvas = document.getElementById(id);
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, rows || canvas.height).data;
    const hash = await crypto.subtle.digest('SHA-256', data);
    return Array.from(new Uint8Array(hash)).map((b) => b.toString(16).padStart(2, '0')).join('');
  }, { id, rows });
}

async function stats(page) {
  const response = await page.request.get(server.url + 'stats');
  expect(response.ok()).toBeTruthy();
  return response.json();
}

test('the page shows the three screens in the room\'s order and the two MFDs', async ({ page }) => {
  await openRoom(page);
  const box = async (id) => page.locator('#' + id).boundingBox();
  const [s1, s0, s2] = [await box('area-1'), await box('area-0'), await box('area-2')];
  expect(s1.x).toBeLessThan(s0.x);
  expect(s0.x).toBeLessThan(s2.x);
  const [left, right] = [await box('area-300'), await box('area-303')];
  expect(left.y).toBeGreaterThan(s0.y + s0.height);
  expect(left.x).toBeLessThan(right.x);
  // Screen 0 carries the world map: most of its middle band is not black.
  const lit = await page.evaluate(() => {
    const data = document.getElementById('area-0').getContext('2d').getImageData(0, 256, 1024, 512).data;
    let n = 0;
    for (let i = 0; i < data.length; i += 4)
      if (data[i] + data[i + 1] + data[i + 2] > 0)
        ++n;
    return n;
  });
  expect(lit).toBeGreaterThan(1000);
  await expect(page.locator('#mfd-0 .mfd-title')).not.toBeEmpty();
  await expect(page.locator('#mjd')).toHaveText(/^\d+\.\d{6}$/);
});

test('Ctrl+T opens the module\'s input box and the typed name becomes screen 0\'s target', async ({ page }, testInfo) => {
  await openRoom(page);
  const room = await page.evaluate(() => ({ vessels: window.controlRoom.vessels, focus: window.controlRoom.state.focus }));
  const title = (await texts(page, 'area-0')).find((t) => t.startsWith('Target: '));
  const current = title ? title.slice('Target: '.length) : '';
  const name = room.vessels.find((v) => v !== room.focus && v !== current);
  expect(name).toBeTruthy();
  const titleBand = await pixelDigest(page, 'area-0', 64);

  await page.keyboard.press('Control+t');
  const dialog = page.locator('#inputbox');
  await expect(dialog).toBeVisible();
  await expect(page.locator('#inputbox-title')).toHaveText('Input Target Vessel');

  // A name of no vessel: the module turns it down and the box stays.
  await page.locator('#inputbox-text').fill('No-Such-Vessel');
  await page.keyboard.press('Enter');
  await expect(page.locator('#inputbox-rejected')).toHaveText('Not accepted: \u201cNo-Such-Vessel\u201d');
  await expect(dialog).toBeVisible();

  await page.locator('#inputbox-text').fill(name);
  await page.keyboard.press('Enter');
  await expect(dialog).toBeHidden();
  // The frame that screen 0 shows now is one the module drew with the new
  // title (the server's record of what it wrote), and its pixels changed.
  await expect.poll(() => texts(page, 'area-0')).toContain('Target: ' + name);
  await expect(page.locator('#area-0')).toHaveAttribute('aria-label', new RegExp('Target: ' + name));
  expect(await pixelDigest(page, 'area-0', 64)).not.toBe(titleBand);

  // The screenshot shows the 3D view too.
  await expect(page.locator('#view-canvas')).toHaveAttribute('data-seq', /^\d+$/);
  const shot = testInfo.outputPath('controlroom-page.png');
  await page.screenshot({ path: shot, fullPage: true });
  if (process.env.KORVANE_SCREENSHOT) {
    fs.mkdirSync(path.dirname(process.env.KORVANE_SCREENSHOT), { recursive: true });
    fs.copyFileSync(shot, process.env.KORVANE_SCREENSHOT);
  }
});

test('the Ctrl+T button opens the box too, and Escape cancels it', async ({ page }) => {
  await openRoom(page);
  await page.locator('#ctrl-t').click();
  await expect(page.locator('#inputbox')).toBeVisible();
  await page.keyboard.press('Escape');
  await expect(page.locator('#inputbox')).toBeHidden();
  await expect.poll(() => page.evaluate(() => window.controlRoom.inputbox.open)).toBe(false);
});

test('a click on a button panel reaches the server as a click on that area', async ({ page }) => {
  await openRoom(page);
  const before = await stats(page);
  const panel = page.locator('#area-303');
  const b = await panel.boundingBox();
  await panel.click({ position: { x: b.width / 2, y: b.height / 2 } });
  await expect.poll(async () => (await stats(page)).messagesTaken).toBe(before.messagesTaken + 1);
  await expect.poll(async () => (await stats(page)).inputsApplied).toBeGreaterThan(before.inputsApplied);
  const after = await stats(page);
  expect(after.messagesRefused).toEqual(before.messagesRefused);
});

test('a click on the right MFD\'s power button switches that MFD off', async ({ page }) => {
  await openRoom(page);
  await expect(page.locator('#mfd-1')).toHaveAttribute('data-on', 'true');
  expect((await texts(page, 'area-303')).length).toBeGreaterThan(3);
  const before = await pixelDigest(page, 'area-303');
  const panel = page.locator('#area-303');
  const b = await panel.boundingBox();
  const border = await panel.evaluate((c) => c.clientLeft);
  const inner = b.width - 2 * border;
  // The PWR button's frame spans (53, 225) to (83, 245) on the 256-pixel panel.
  await panel.click({ position: { x: border + inner * 68 / 256, y: border + inner * 235 / 256 } });
  await expect(page.locator('#mfd-1')).toHaveAttribute('data-on', 'false');
  // Switched off, the panel shows only its frames and SEL, MNU, PWR.
  await expect.poll(() => texts(page, 'area-303')).toEqual(['SEL', 'MNU', 'PWR']);
  expect(await pixelDigest(page, 'area-303')).not.toBe(before);
});

test('a click on the 3D view presses the MFD button seen there', async ({ page }) => {
  await openRoom(page);
  const canvas = page.locator('#view-canvas');
  await expect(canvas).toHaveAttribute('data-seq', /^\d+$/);
  await expect(page.locator('#view')).toBeVisible();
  // Where the server's camera sees the left MFD's select button (its click
  // zone's centre, as the hello reports it), on the canvas as it is shown.
  const view = await page.evaluate(() => window.controlRoom.hello.view);
  const select = view.zones.find((z) => z.area === 214);
  expect(select).toBeTruthy();
  expect(await texts(page, 'area-300')).not.toContain('ORB');
  const seq = Number(await canvas.getAttribute('data-seq'));
  const b = await canvas.boundingBox();
  const border = await canvas.evaluate((c) => c.clientLeft);
  const scale = (b.width - 2 * border) / view.width;
  await canvas.click({ position: { x: border + select.x * scale, y: border + select.y * scale } });
  // The MFD shows its mode selection, on its display, its panel and in the view.
  await expect(page.locator('#mfd-0 .mfd-title')).toHaveText('Mode selection');
  await expect.poll(() => texts(page, 'area-300')).toContain('ORB');
  await expect.poll(async () => Number(await canvas.getAttribute('data-seq'))).toBeGreaterThan(seq);
});

test('pause stops the clock and the warp buttons change the time acceleration', async ({ page }) => {
  await openRoom(page);
  await page.locator('#pause').click();
  await expect(page.locator('#pause')).toHaveAttribute('aria-pressed', 'true');
  const stopped = await page.locator('#simtime').textContent();
  await page.waitForTimeout(1000);
  await expect(page.locator('#simtime')).toHaveText(stopped);
  await page.locator('#pause').click();
  await expect(page.locator('#pause')).toHaveAttribute('aria-pressed', 'false');
  await expect(page.locator('#simtime')).not.toHaveText(stopped);

  await page.locator('#warp-up').click();
  await expect(page.locator('#warp')).toHaveText('10\u00d7');
  await page.locator('#warp-up').click();
  await expect(page.locator('#warp')).toHaveText('100\u00d7');
  await page.locator('#warp-real').click();
  await expect(page.locator('#warp')).toHaveText('1\u00d7');
});

test('two pages see the same frames', async ({ browser }) => {
  const first = await (await browser.newContext()).newPage();
  const second = await (await browser.newContext()).newPage();
  await openRoom(first);
  await openRoom(second);
  const frames = (page) => page.evaluate(() => window.controlRoom.frames.map((f) => f.seq + ':' + f.area + ':' + f.bytes));
  // Both now get every frame as it is made: a few seconds of them, from the
  // first one the second page had at connecting.
  await first.waitForTimeout(4000);
  const a = await frames(first);
  const b = await frames(second);
  const from = Math.max(...b.slice(0, 5).map((f) => Number(f.split(':')[0])));
  const parse = (list) => list.map((f) => f.split(':').map(Number))
    .filter(([seq]) => seq > from).map(([seq, area, bytes]) => ({ seq, area, bytes }));
  const [pa, pb] = [parse(a), parse(b)];
  const last = Math.min(pa[pa.length - 1].seq, pb[pb.length - 1].seq);
  const upTo = (list) => list.filter((f) => f.seq <= last);
  // A frame both pages got is the same frame.
  const bySeq = new Map(upTo(pa).map((f) => [f.seq, f]));
  const shared = upTo(pb).filter((f) => bySeq.has(f.seq));
  expect(shared.length).toBeGreaterThan(5);
  for (const f of shared)
    expect(f).toEqual(bySeq.get(f.seq));
  // A page that fell behind may miss a frame, but only one that a newer
  // frame of the same screen replaced: it never misses a screen's change.
  // (The last few frames may still be on their way to one of them.)
  for (const [mine, theirs] of [[pa, pb], [pb, pa]]) {
    const seqs = new Set(mine.map((f) => f.seq));
    for (const f of theirs.filter((g) => g.seq <= last - 10 && !seqs.has(g.seq)))
      expect(mine.some((g) => g.area === f.area && g.seq > f.seq)).toBe(true);
  }

  // And show the same picture of screen 0 once both have drawn one frame.
  await expect.poll(async () => {
    const [sa, sb] = [await first.locator('#area-0').getAttribute('data-seq'),
      await second.locator('#area-0').getAttribute('data-seq')];
    return sa === sb ? (await pixelDigest(first, 'area-0')) === (await pixelDigest(second, 'area-0')) : false;
  }).toBe(true);
});

test('a message the server does not take closes that page\'s connection with the reason', async ({ page }) => {
  await openRoom(page);
  const closed = await page.evaluate(() => new Promise((resolve) => {
    const ws = new WebSocket('ws://' + location.host + '/ws');
    ws.onopen = () => ws.send(JSON.stringify({ type: 'fly' }));
    ws.onclose = (event) => resolve({ code: event.code, reason: event.reason });
  }));
  expect(closed).toEqual({ code: 1008, reason: 'unknown message type "fly"' });
  // The page's own connection is untouched.
  await expect(page.locator('#connection')).toHaveClass(/live/);
  expect((await stats(page)).messagesRefused.unknown).toBe(1);
});
