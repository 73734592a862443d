// Served over http(s), the page can be installed as an app and keeps working offline: it links
// its manifest and registers its offline cache, both beside it. Opened from a file, or where
// they are missing, it does without them and says nothing.
function offerInstall() {
  if (location.protocol !== "http:" && location.protocol !== "https:") return;
  const manifest = document.createElement("link");
  manifest.rel = "manifest";
  manifest.href = "korvelian.webmanifest";
  document.head.append(manifest);
  if ("serviceWorker" in navigator)
    navigator.serviceWorker.register("korvelian-sw.js").catch(() => {});
}
