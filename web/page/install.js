// Installing the page as an app: only where a browser allows it, over https or
// from this machine (localhost). Opened from a file or over plain http the page
// adds no manifest and registers no service worker, and works all the same.

export function installable(location) {
  if (location.protocol === "https:") return true;
  if (location.protocol !== "http:") return false;
  return ["localhost", "127.0.0.1", "[::1]"].includes(location.hostname) || location.hostname.endsWith(".localhost");
}

// The manifest and the service worker are shipped beside vantel.html.
export function offerInstall() {
  if (!installable(window.location)) return;
  const link = document.createElement("link");
  link.rel = "manifest";
  link.href = "vantel.webmanifest";
  document.head.append(link);
  if ("serviceWorker" in navigator) {
    navigator.serviceWorker.register("vantel-sw.js").catch(() => {
      // Without a service worker the page still works; it is only not kept offline.
    });
  }
}
