// Headless Debian chromium for the page's tests and benchmark.
// With a fresh profile, as root may run it.
export async function launchChromium(puppeteer, profile) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM,  // found on PATH by the calling script
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--window-size=800,600'],
  });
}
