<%@ page language="java" import="java.util.*, shop.stock.*" %>
<%@ include file="header.jsp" %>
<%-- A page that lists the stock of the shop --%>
<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">
<html>
<head>
  <title>Stock of <%= request.getParameter("shop") %></title>
  <meta http-equiv="Content-Type" content="text/html; charset=windows-1252">
</head>
<!-- The table below is filled
     by the scriptlet that follows -->
<body bgcolor="#FFFFFF" text=#000000 onload='init(0)'>
<%
    Inventory inventory = (Inventory) session.getAttribute("inventory");
    if (inventory == null) {
        inventory = new Inventory();   // a fresh one
        session.setAttribute("inventory", inventory);
    }
    /* prices are
       in euros */
    String title = "Stock \"today\"";
    int rows = 10, width = 0x20;
    double rate = 1.5e3;
%>
<h1><%= title %></h1>
<table border=1 width="100%" cellpadding=2>
<caption align=<%= align %> title=<%= "Stock" %>>Stock</caption>
<% for (int i = 0; i < rows; i++) { %>
  <tr class="<%= i % 2 == 0 ? "even" : "odd" %>">
    <td><%= i %></td><td width=50%><%= inventory.describe("item" + i) %></td>
  </tr>
<% } %>
</table>
<a href="<%= request.getContextPath() %>/next.jsp?page=2">Next page</a>
<img src="logo.gif" width=120 height=60 alt="Logo">
<p>Plain text with 12 numbers, a % sign and a <b>bold</b> word.</p>
<form action="order.jsp" method="post">
  <input type="text" name="count" value="<%= rows %>" size=4>
  <input type="submit" value='Order now'>
</form>
<% // a one-line scriptlet comment %>
<% String unfinished = "open string
%>
</body>
</html>
