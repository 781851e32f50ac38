-- Brenvik's language server in Neovim (0.7 or later): errors and warnings as
-- you type, hover (K), go to definition (gd) and the other LSP commands for
-- Intel 8008 sources. Put this file in ~/.config/nvim/plugin/, or :luafile it.
-- It starts brenvik-lsp from the PATH; set vim.g.brenvik_lsp to another path.

local client_id = nil

local function attach()
  local config = {
    name = "brenvik-lsp",
    cmd = { vim.g.brenvik_lsp or "brenvik-lsp" },
    root_dir = vim.fn.getcwd(),
  }
  if vim.lsp.start then -- Neovim 0.8 and later
    vim.lsp.start(config)
    return
  end
  if not client_id or not vim.lsp.get_client_by_id(client_id) then
    client_id = vim.lsp.start_client(config)
  end
  if client_id then
    vim.lsp.buf_attach_client(0, client_id)
  end
end

vim.api.nvim_create_autocmd({ "BufReadPost", "BufNewFile" }, {
  pattern = { "*.asm", "*.8008" },
  callback = attach,
})
