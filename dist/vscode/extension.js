// Starts brenvik-lsp for Intel 8008 sources; everything else is the server's.
const vscode = require("vscode");
const { LanguageClient } = require("vscode-languageclient/node");

let client;

function activate() {
  const command = vscode.workspace.getConfiguration("brenvik").get("serverPath") || "brenvik-lsp";
  client = new LanguageClient(
    "brenvik-lsp",
    "Brenvik",
    { command },
    { documentSelector: [{ scheme: "file", language: "asm8008" }] }
  );
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
