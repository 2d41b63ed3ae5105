// The control-room page in Debian's chromium: nothing here downloads a
// browser (PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 when the packages are installed).
const { defineConfig } = require('@playwright/test');

module.exports = defineConfig({
  testDir: '.',
  testMatch: '*.test.js',
  timeout: 120000,
  expect: { timeout: 15000 },
  workers: 1,
  reporter: [['list']],
  outputDir: process.env.KORVANE_BROWSER_OUT || 'test-results',
  use: {
    browserName: 'chromium',
    viewport: { width: 1600, height: 1000 },
    launchOptions: {
      executablePath: process.env.KORVANE_CHROMIUM || '/usr/bin/chromium',
      args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--no-first-run'],
    },
  },
});
